// A window for the accessibility tests: a one-line field holding the text of argv[1] with the
// UTF-16 range argv[2] ("location,length") selected, and a multi-line field below it. Prints
// "ready" once the one-line field has the keyboard focus.
#include <QApplication>
#include <QLineEdit>
#include <QMainWindow>
#include <QTextEdit>
#include <QTextStream>
#include <QVBoxLayout>

#include <cstdio>

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    const QStringList args = app.arguments();
    const QString text = args.value(1);
    const QStringList selection = args.value(2, QStringLiteral("0,0")).split(QLatin1Char(','));

    // A main window is what Qt exposes as a frame, which the focus walk looks for.
    QMainWindow window;
    auto* central = new QWidget;
    auto* layout = new QVBoxLayout(central);
    auto* line = new QLineEdit(text);
    line->setAccessibleName(QStringLiteral("line"));
    auto* area = new QTextEdit;
    area->setAccessibleName(QStringLiteral("area"));
    area->setPlainText(QStringLiteral("first\nsecond"));
    layout->addWidget(line);
    layout->addWidget(area);
    window.setCentralWidget(central);
    window.show();
    // Xvfb has no window manager to hand out the focus.
    window.activateWindow();
    line->setFocus();
    line->setSelection(selection.value(0).toInt(), selection.value(1).toInt());

    bool announced = false;
    QObject::connect(&app, &QApplication::focusChanged, &app, [&](QWidget*, QWidget* now) {
        if (now == line && !announced) {
            announced = true;
            std::puts("ready");
            std::fflush(stdout);
        }
    });
    if (line->hasFocus()) {
        announced = true;
        std::puts("ready");
        std::fflush(stdout);
    }
    return app.exec();
}
