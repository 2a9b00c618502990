// Every kind of save meets a failing write, fsync or rename in turn: the
// failure is reported, the old file and its backup are as they were, and no
// temporary file is left behind.
#include "common/safefile.h"
#include "common/ui/picturesave.h"
#include "common/ui/reportsave.h"
#include "modules/lp/ui/modelfile.h"
#include "modules/markov/markovfile.h"
#include "support/scripteddialogs.h"

#include <QDir>
#include <QFile>
#include <QImage>
#include <QTemporaryDir>
#include <QTextDocument>
#include <gtest/gtest.h>

#include <cerrno>
#include <functional>

#include <unistd.h>

namespace {

using namespace tarvik::ui;

QByteArray ReadAll(const QString& name) {
    QFile f(name);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<missing>");
}

void WriteAll(const QString& name, const QByteArray& bytes) {
    QFile f(name);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(bytes);
}

// Fails the n-th call of one kind (counting from 1); the others go through.
int failAt = 0, calls = 0;
int FailingRename(const char* a, const char* b) {
    if (++calls == failAt) return errno = EIO, -1;
    return ::rename(a, b);
}
int FailingFsync(int fd) {
    if (++calls == failAt) return errno = EIO, -1;
    return ::fsync(fd);
}
ssize_t FailingWrite(int, const void*, std::size_t) {
    return errno = ENOSPC, -1;
}

struct SaveKind {
    const char* what;
    const char* fileName;
    // Saves over the file; true when the save said it failed.
    std::function<bool(const QString& name, tarvik::test::ScriptedDialogs& dialogs)> saveFails;
};

bool SaidCannotWrite(const tarvik::test::ScriptedDialogs& dialogs, const QString& name) {
    return dialogs.messageTexts() == std::vector<QString>{QStringLiteral("Cannot write file ") + name};
}

TEST(SaveFaults, EveryKindOfSaveReportsTheFaultAndKeepsTheOldFileAndItsBackup) {
    const QString report = QStringLiteral(" x   P(X<=x)\n------------\n 1   0.5\n 2   0.75\n");
    const SaveKind kinds[] = {
        {"model", "model.tlp",
         [](const QString& name, auto&) { return !SaveModelFile(name, {QStringLiteral("max x;")}); }},
        {"chain", "chain.txt",
         [](const QString& name, auto&) {
             return !tarvik::markov::WriteChainFile(QFile::encodeName(name).toStdString(),
                                                    tarvik::markov::MakeChain())
                         .ok;
         }},
        {"picture", "graph.png",
         [](const QString& name, auto& dialogs) {
             dialogs.fileAnswers = {name};
             QImage picture(40, 30, QImage::Format_RGB32);
             picture.fill(Qt::white);
             return !SaveGraphBitmap(picture, QStringLiteral("Dice.bmp")) && SaidCannotWrite(dialogs, name);
         }},
        {"text", "report.txt",
         [&report](const QString& name, auto& dialogs) {
             dialogs.fileAnswers = {name};
             return !SaveReportText(report, QStringLiteral("report")) && SaidCannotWrite(dialogs, name);
         }},
        {"PDF", "report.pdf",
         [&report](const QString& name, auto& dialogs) {
             dialogs.fileAnswers = {name};
             QTextDocument document(report);
             return !SaveReportPdf(document, QStringLiteral("Report"), QStringLiteral("report")) &&
                    SaidCannotWrite(dialogs, name);
         }},
        {"CSV", "table.csv",
         [&report](const QString& name, auto& dialogs) {
             dialogs.fileAnswers = {name};
             return !SaveReportTableCsv(report, QStringLiteral("table")) && SaidCannotWrite(dialogs, name);
         }},
    };
    struct Fault {
        const char* what;
        void (*arm)();
    };
    const Fault faults[] = {
        {"write", [] { tarvik::SystemCalls().write = FailingWrite; }},
        {"fsync", [] { failAt = 1, tarvik::SystemCalls().fsync = FailingFsync; }},
        {"first rename", [] { failAt = 1, tarvik::SystemCalls().rename = FailingRename; }},
        {"second rename", [] { failAt = 2, tarvik::SystemCalls().rename = FailingRename; }},
    };
    for (const SaveKind& kind : kinds) {
        for (const Fault& fault : faults) {
            SCOPED_TRACE(std::string(kind.what) + ", failing " + fault.what);
            QTemporaryDir dir;
            const QString name = dir.filePath(QString::fromLatin1(kind.fileName));
            const QString backup = BackupFileName(name); // only model files keep one
            WriteAll(name, "old file");
            WriteAll(backup, "old backup");
            tarvik::test::ScriptedDialogs dialogs;
            calls = 0;
            fault.arm();
            const bool second = std::string(fault.what) == "second rename";
            const bool failed = kind.saveFails(name, dialogs);
            tarvik::RestoreSystemCalls();
            // A save without a backup renames once: its second rename never comes.
            if (second && std::string(kind.what) != "model") {
                EXPECT_FALSE(failed);
                continue;
            }
            EXPECT_TRUE(failed);
            EXPECT_EQ(ReadAll(name), QByteArray("old file"));
            EXPECT_EQ(ReadAll(backup), QByteArray("old backup"));
            EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden).size(), 2);
        }
    }
}

TEST(SaveFaults, AModelWhosePreviousVersionCannotBecomeTheBackupIsNotReplaced) {
    QTemporaryDir dir;
    const QString name = dir.filePath(QStringLiteral("model.tlp"));
    WriteAll(name, "old model");
    ASSERT_TRUE(QDir(dir.path()).mkpath(QStringLiteral("model.BAK/inside")));
    QString problem;
    EXPECT_FALSE(SaveModelFile(name, {QStringLiteral("max x;")}, &problem));
    EXPECT_EQ(problem, QStringLiteral("Cannot make the backup ") + dir.filePath(QStringLiteral("model.BAK")) +
                           QStringLiteral(": Is a directory"));
    EXPECT_EQ(ReadAll(name), QByteArray("old model"));
}

TEST(SaveFaults, APictureIsNeverWrittenOverAPipe) {
    QTemporaryDir dir;
    const QString pipe = dir.filePath(QStringLiteral("graph.png"));
    ASSERT_EQ(::mkfifo(QFile::encodeName(pipe).constData(), 0600), 0);
    tarvik::test::ScriptedDialogs dialogs;
    dialogs.fileAnswers = {pipe};
    QImage picture(10, 10, QImage::Format_RGB32);
    picture.fill(Qt::black);
    EXPECT_FALSE(SaveGraphBitmap(picture, QStringLiteral("Dice.bmp")));
    EXPECT_TRUE(SaidCannotWrite(dialogs, pipe));
    EXPECT_TRUE(QFileInfo(pipe).isFile() == false && QFileInfo::exists(pipe));
}

} // namespace
