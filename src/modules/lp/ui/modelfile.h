#pragma once
// Model files of the editor windows: plain text, one line per editor line.
#include <QString>
#include <QStringList>
#include <optional>

namespace tarvik::ui {

// The backup of a model file: the same name with the extension ".BAK".
QString BackupFileName(const QString& fileName);

// Saves the lines (each ended by CR LF) and keeps the previous file as its
// backup. The new text goes to a temporary file in the same folder first; only
// when it is completely on disk is the old file renamed to the backup and the
// temporary file to the model. A failure leaves the model and its backup as
// they were. Returns false on failure; when the previous file could not
// become the backup (and so nothing was replaced), `backupProblem` gets
// "Cannot make the backup NAME.BAK: REASON".
bool SaveModelFile(const QString& fileName, const QStringList& lines, QString* backupProblem = nullptr);

// The lines of a model file (CR LF, LF or CR line ends; a final line end does
// not start another line), or nothing when the file cannot be read. The text
// is read as UTF-8 unless it is not valid UTF-8, then as Latin-1; a UTF-8
// byte-order mark is no part of it. `tooLarge` tells whether the file was
// refused for being larger than any model.
std::optional<QStringList> LoadModelFile(const QString& fileName, bool* tooLarge = nullptr);

} // namespace tarvik::ui
