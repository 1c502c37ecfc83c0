#include <QApplication>
#include <QLineEdit>
#include <QSocketNotifier>
#include <QWindow>

#include <cstdio>
#include <unistd.h>

// A Qt line edit for the Wayland paste tests, the counterpart of gtk_field.py: prints "ready" once
// its window has the keyboard focus, then "text:" and the text at each change; quits when its
// input closes.
int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    QLineEdit field;
    field.setWindowTitle(QStringLiteral("quenda-qt-field"));
    QObject::connect(&field, &QLineEdit::textChanged, &field, [](const QString& text) {
        std::printf("text:%s\n", text.toUtf8().constData());
        std::fflush(stdout);
    });
    bool announced = false;
    QObject::connect(&app, &QGuiApplication::focusWindowChanged, &field, [&](QWindow* window) {
        if (window && !announced) {
            announced = true;
            std::printf("ready\n");
            std::fflush(stdout);
        }
    });
    QSocketNotifier input(STDIN_FILENO, QSocketNotifier::Read);
    QObject::connect(&input, &QSocketNotifier::activated, &app, [&] {
        char buffer[4096];
        if (read(STDIN_FILENO, buffer, sizeof buffer) <= 0)
            app.quit();
    });
    field.show();
    field.activateWindow();
    return app.exec();
}
