#pragma once

#include <QProcess>
#include <QString>

// A GTK or Qt text field in a process of its own, a native client of the test compositor. It
// reports when it has the keyboard focus and each text it holds.
class FieldProcess final {
public:
    enum class Toolkit { Gtk, Qt };

    FieldProcess(Toolkit toolkit, const QByteArray& waylandDisplay);
    ~FieldProcess();

    // Whether the field got the keyboard focus within the time.
    bool waitReady(int timeoutMs);
    // Waits until the field holds `expected`; returns what it held last.
    QString waitForText(const QString& expected, int timeoutMs);
    QString errors();

private:
    bool readLine(int timeoutMs, QByteArray& line);

    QProcess m_process;
    QString m_text;
};

// The environment of a native client of the compositor at `waylandDisplay`.
QProcessEnvironment waylandClientEnvironment(const QByteArray& waylandDisplay);

// Puts the text on the clipboard of the compositor at `waylandDisplay`, as a user's copy would.
bool copyToClipboard(const QByteArray& waylandDisplay, const QString& text);
