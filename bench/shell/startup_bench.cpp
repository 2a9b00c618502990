// Time from process start to the first painted welcome window, offscreen, and
// the peak memory at that moment: the median over repeated starts.
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <fcntl.h>
#include <string>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

int main(int argc, char** argv) {
    const int runs = argc > 1 ? std::atoi(argv[1]) : 21;
    setenv("QT_QPA_PLATFORM", "offscreen", 1);
    std::vector<double> ms;
    std::vector<long> kb;
    for (int i = 0; i < runs; ++i) {
        int fds[2];
        if (pipe(fds) != 0) return 1;
        const auto start = std::chrono::steady_clock::now();
        pid_t pid = fork();
        if (pid == 0) {
            dup2(fds[1], 1);
            close(fds[0]);
            const int devnull = open("/dev/null", O_WRONLY);
            if (devnull >= 0) dup2(devnull, 2);
            execl(TARVIK_PROGRAM, TARVIK_PROGRAM, "--startup-probe", static_cast<char*>(nullptr));
            _exit(127);
        }
        close(fds[1]);
        std::string out;
        char buf[256];
        ssize_t n;
        while ((n = read(fds[0], buf, sizeof buf)) > 0) {
            out.append(buf, static_cast<std::size_t>(n));
            if (out.find('\n') != std::string::npos) break;
        }
        const auto painted = std::chrono::steady_clock::now();
        int status = 0;
        waitpid(pid, &status, 0);
        close(fds[0]);
        long peak = 0;
        std::sscanf(out.c_str(), "peak-kb %ld", &peak);
        if (peak == 0) {
            std::fprintf(stderr, "the program did not report its first paint\n");
            return 1;
        }
        ms.push_back(std::chrono::duration<double, std::milli>(painted - start).count());
        kb.push_back(peak);
    }
    std::sort(ms.begin(), ms.end());
    std::sort(kb.begin(), kb.end());
    std::printf("start to painted welcome window: median %.1f ms (min %.1f, max %.1f) over %d starts\n",
                ms[ms.size() / 2], ms.front(), ms.back(), runs);
    std::printf("peak memory at that point: median %.1f MB\n", kb[kb.size() / 2] / 1024.0);
    return 0;
}
