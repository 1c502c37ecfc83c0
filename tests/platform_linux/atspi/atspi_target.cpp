// A window for the accessibility tests: a one-line field holding the text of argv[1] with the
// UTF-16 range argv[2] ("location,length") selected, and a multi-line field below it. Prints
// "ready" once the one-line field has the keyboard focus.
//
// Options, anywhere among the arguments: --clipboard=TEXT owns the clipboard with TEXT from the
// start; --report prints one JSON line {text, focus, clipboard} on every SIGUSR1, so a shell script
// can read the window's state while it keeps running; --maximized fills the screen with the window;
// --paste-lag=MS takes the paste keys in that much later, reading the clipboard only then, as a busy
// application does.
#include <QApplication>
#include <QClipboard>
#include <QJsonDocument>
#include <QJsonObject>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMainWindow>
#include <QSocketNotifier>
#include <QTextEdit>
#include <QTextStream>
#include <QTimer>
#include <QVBoxLayout>

#include <csignal>
#include <cstdio>
#include <memory>
#include <optional>
#include <unistd.h>

namespace {

int reportPipe[2] = {-1, -1};

void requestReport(int)
{
    // Only async-signal-safe calls here; the event loop does the Qt work.
    const char byte = 1;
    [[maybe_unused]] const ssize_t written = ::write(reportPipe[1], &byte, 1);
}

class LaggingPaste final : public QObject {
public:
    LaggingPaste(QLineEdit* line, int lagMs)
        : QObject(line)
        , m_line(line)
        , m_lagMs(lagMs)
    {
    }

    bool eventFilter(QObject*, QEvent* event) override
    {
        if (event->type() != QEvent::KeyPress ||
            !static_cast<QKeyEvent*>(event)->matches(QKeySequence::Paste))
            return false;
        QTimer::singleShot(m_lagMs, m_line, [line = m_line] { line->paste(); });
        return true;
    }

private:
    QLineEdit* m_line;
    int m_lagMs;
};

} // namespace

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    QStringList args;
    std::optional<QString> clipboardText;
    bool report = false;
    bool maximized = false;
    int pasteLagMs = 0;
    for (const QString& arg : app.arguments().mid(1)) {
        if (arg.startsWith(QStringLiteral("--clipboard=")))
            clipboardText = arg.mid(int(sizeof("--clipboard=")) - 1);
        else if (arg == QStringLiteral("--report"))
            report = true;
        else if (arg == QStringLiteral("--maximized"))
            maximized = true;
        else if (arg.startsWith(QStringLiteral("--paste-lag=")))
            pasteLagMs = arg.mid(int(sizeof("--paste-lag=")) - 1).toInt();
        else
            args.append(arg);
    }
    const QString text = args.value(0);
    const QStringList selection = args.value(1, QStringLiteral("0,0")).split(QLatin1Char(','));

    // A main window is what Qt exposes as a frame, which the focus walk looks for.
    QMainWindow window;
    auto* central = new QWidget;
    auto* layout = new QVBoxLayout(central);
    auto* line = new QLineEdit(text);
    line->setAccessibleName(QStringLiteral("line"));
    if (pasteLagMs > 0)
        line->installEventFilter(new LaggingPaste(line, pasteLagMs));
    auto* area = new QTextEdit;
    area->setAccessibleName(QStringLiteral("area"));
    area->setPlainText(QStringLiteral("first\nsecond"));
    layout->addWidget(line);
    layout->addWidget(area);
    window.setCentralWidget(central);
    if (maximized)
        window.showMaximized();
    else
        window.show();
    // Xvfb has no window manager to hand out the focus.
    window.activateWindow();
    line->setFocus();
    line->setSelection(selection.value(0).toInt(), selection.value(1).toInt());
    if (clipboardText)
        QApplication::clipboard()->setText(*clipboardText);

    std::unique_ptr<QSocketNotifier> reports;
    if (report && ::pipe(reportPipe) == 0) {
        reports = std::make_unique<QSocketNotifier>(reportPipe[0], QSocketNotifier::Read);
        QObject::connect(reports.get(), &QSocketNotifier::activated, &app, [&] {
            char byte = 0;
            [[maybe_unused]] const ssize_t read = ::read(reportPipe[0], &byte, 1);
            // hasFocus is false once another X window takes the input focus from this one.
            const QJsonObject state{{QStringLiteral("text"), line->text()},
                                    {QStringLiteral("focus"), line->hasFocus() && window.isActiveWindow()},
                                    {QStringLiteral("clipboard"), QApplication::clipboard()->text()}};
            std::puts(QJsonDocument(state).toJson(QJsonDocument::Compact).constData());
            std::fflush(stdout);
        });
        std::signal(SIGUSR1, requestReport);
    }

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
