#include "modules/lp/ui/modelfile.h"

#include "common/safefile.h"
#include "modules/lp/modeltext.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStringDecoder>
#include <cstring>

namespace tarvik::ui {

QString BackupFileName(const QString& fileName) {
    const QFileInfo info(fileName);
    const QString base = info.completeBaseName();
    const QString dir = info.path();
    const QString name = base + QStringLiteral(".BAK");
    return dir == QStringLiteral(".") && !fileName.startsWith(QStringLiteral("./"))
               ? name
               : dir + QLatin1Char('/') + name;
}

bool SaveModelFile(const QString& fileName, const QStringList& lines, QString* backupProblem) {
    std::string text;
    for (const QString& line : lines) {
        text += line.toStdString();
        text += "\r\n";
    }
    const QFileInfo target(fileName);
    const QString backup = BackupFileName(target.absoluteFilePath());
    tarvik::WriteFailure why;
    if (tarvik::WriteFileSafely(QFile::encodeName(target.absoluteFilePath()).toStdString(), text,
                                QFile::encodeName(backup).toStdString(), &why))
        return true;
    if (why.backup && backupProblem)
        *backupProblem =
            QStringLiteral("Cannot make the backup %1: %2")
                .arg(QDir::toNativeSeparators(backup), QString::fromLocal8Bit(std::strerror(why.error)));
    return false;
}

std::optional<QStringList> LoadModelFile(const QString& fileName, bool* tooLarge) {
    std::string raw;
    const tarvik::ReadStatus status =
        tarvik::ReadSmallFile(QFile::encodeName(fileName).toStdString(), lp::kMaxModelFileBytes, raw);
    if (tooLarge) *tooLarge = status == tarvik::ReadStatus::TooLarge;
    if (status != tarvik::ReadStatus::Ok) return std::nullopt;
    const QByteArray bytes = QByteArray::fromStdString(raw);

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
