#include "modules/lp/ui/modelfile.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStringDecoder>
#include <QTemporaryFile>
#include <filesystem>
#include <system_error>

#include <unistd.h>

namespace tarvik::ui {
namespace {

std::filesystem::path ToPath(const QString& name) {
    return std::filesystem::path(name.toStdU16String());
}

} // namespace

QString BackupFileName(const QString& fileName) {
    const QFileInfo info(fileName);
    const QString base = info.completeBaseName();
    const QString dir = info.path();
    const QString name = base + QStringLiteral(".BAK");
    return dir == QStringLiteral(".") && !fileName.startsWith(QStringLiteral("./"))
               ? name
               : dir + QLatin1Char('/') + name;
}

bool SaveModelFile(const QString& fileName, const QStringList& lines) {
    const QFileInfo target(fileName);
    QByteArray text;
    for (const QString& line : lines) {
        text += line.toUtf8();
        text += "\r\n";
    }

    QTemporaryFile temp(target.absolutePath() + QStringLiteral("/.") + target.fileName() +
                        QStringLiteral(".XXXXXX"));
    if (!temp.open()) return false;
    if (temp.write(text) != text.size() || !temp.flush() || ::fsync(temp.handle()) != 0) return false;
    const QString tempName = temp.fileName();
    temp.close();
    if (temp.error() != QFileDevice::NoError) return false;

    // The new file gets the permissions of the one it replaces.
    QFile::Permissions permissions =
        QFile::ReadOwner | QFile::WriteOwner | QFile::ReadGroup | QFile::ReadOther;
    const bool existed = target.exists();
    if (existed) permissions = QFile(fileName).permissions();
    QFile::setPermissions(tempName, permissions);

    std::error_code ec;
    const auto modelPath = ToPath(target.absoluteFilePath());
    const QString backup = BackupFileName(target.absoluteFilePath());
    const bool keepBackup = existed && QFileInfo(backup).absoluteFilePath() != target.absoluteFilePath();
    const auto backupPath = ToPath(backup);
    if (keepBackup) {
        // Replaces an older backup in one step.
        std::filesystem::rename(modelPath, backupPath, ec);
        if (ec) return false;
    }
    std::filesystem::rename(ToPath(tempName), modelPath, ec);
    if (ec) {
        if (keepBackup) {
            std::error_code ignored;
            std::filesystem::rename(backupPath, modelPath, ignored);
        }
        return false;
    }
    temp.setAutoRemove(false);
    return true;
}

std::optional<QStringList> LoadModelFile(const QString& fileName) {
    QFile file(fileName);
    if (!file.open(QIODevice::ReadOnly)) return std::nullopt;
    const QByteArray bytes = file.readAll();
    if (file.error() != QFileDevice::NoError) return std::nullopt;

    QStringDecoder utf8(QStringDecoder::Utf8);
    QString text = utf8(bytes);
    if (utf8.hasError()) text = QString::fromLatin1(bytes);

    QStringList lines;
    qsizetype start = 0;
    const qsizetype n = text.size();
    for (qsizetype i = 0; i < n; ++i) {
        const QChar c = text.at(i);
        if (c != QLatin1Char('\r') && c != QLatin1Char('\n')) continue;
        lines.append(text.mid(start, i - start));
        if (c == QLatin1Char('\r') && i + 1 < n && text.at(i + 1) == QLatin1Char('\n')) ++i;
        start = i + 1;
    }
    if (start < n) lines.append(text.mid(start));
    return lines;
}

} // namespace tarvik::ui
