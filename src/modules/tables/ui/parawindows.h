#pragma once
// The parameter windows of the tables module: one small window per family of
// distributions explaining its parameters and the values the tables and the
// graphs admit. They are made once at start and live for the whole run.
#include <QString>
#include <QWidget>

namespace tarvik::tables {

class TParaWindow : public QWidget {
    Q_OBJECT
public:
    // `name` is the window's object name ("TParaBin", ...).
    TParaWindow(const QString& name, const QString& caption, const QString& text, QWidget* owner);
    QString text() const { return text_; }

private:
    QString text_;
};

// Makes the six windows (hidden) once; a second call does nothing.
void CreateParameterWindows(QWidget* mainWindow);
// One of them by object name, or null before they are made.
TParaWindow* ParameterWindow(const QString& name);

} // namespace tarvik::tables
