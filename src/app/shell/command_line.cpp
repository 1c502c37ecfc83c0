#include "app/shell/command_line.h"

#include <limits>

namespace {

std::optional<QString> following(const QStringList& arguments, const QString& option)
{
    const qsizetype at = arguments.indexOf(option);
    if (at < 0 || at + 1 >= arguments.size())
        return std::nullopt;
    return arguments.at(at + 1);
}

} // namespace

std::optional<qint32> LaunchRequest::parentPidOf(const QString& text)
{
    qsizetype digitsFrom = (text.startsWith(u'+') || text.startsWith(u'-')) ? 1 : 0;
    if (text.size() <= digitsFrom || text.size() - digitsFrom > 11)
        return std::nullopt;
    qint64 value = 0;
    for (qsizetype i = digitsFrom; i < text.size(); ++i) {
        const QChar c = text.at(i);
        if (c < u'0' || c > u'9')
            return std::nullopt;
        value = value * 10 + (c.unicode() - u'0');
    }
    if (text.startsWith(u'-'))
        value = -value;
    if (value > std::numeric_limits<qint32>::max() || value < std::numeric_limits<qint32>::min())
        return std::nullopt;
    // No process of ours has such an id; kill(0 or below) would reach whole process groups.
    if (value <= 0)
        return std::nullopt;
    return qint32(value);
}

LaunchRequest LaunchRequest::parse(const QStringList& arguments, const QString& appVersion)
{
    LaunchRequest request;
    request.snapshotFlag = arguments.contains(QStringLiteral("--snapshot"));
    if (const auto dir = following(arguments, QStringLiteral("--snapshot"))) {
        request.mode = Mode::Snapshot;
        request.snapshotDir = *dir;
        return request;
    }
    // Asked for text, the program prints it and starts nothing.
    if (arguments.contains(QStringLiteral("--help")) || arguments.contains(QStringLiteral("-h"))) {
        request.mode = Mode::Help;
        return request;
    }
    if (arguments.contains(QStringLiteral("--version"))) {
        request.mode = Mode::Version;
        return request;
    }
    // A compositor binding runs this for every key press: it only tells the running program.
    if (arguments.contains(QStringLiteral("--hotkey"))) {
        request.mode = Mode::Hotkey;
        const QString word = following(arguments, QStringLiteral("--hotkey")).value_or(QString());
        if (word == QLatin1String("press"))
            request.hotkey = HotkeyCommand::Press;
        else if (word == QLatin1String("release"))
            request.hotkey = HotkeyCommand::Release;
        return request;
    }
    if (arguments.contains(QStringLiteral("--update-hud"))) {
        request.mode = Mode::UpdateHud;
        request.hudVersion = following(arguments, QStringLiteral("--update-hud")).value_or(appVersion);
        if (const auto pid = following(arguments, QStringLiteral("--parent-pid")))
            request.parentPid = parentPidOf(*pid);
    }
    return request;
}

QString LaunchRequest::helpText()
{
    return QStringLiteral(
        "Usage: quenda [OPTION]\n"
        "Push-to-talk dictation: hold the hotkey, speak, and the text goes into the focused field.\n"
        "Started without an option, Quenda runs in the tray; a second start shows its window.\n"
        "\n"
        "  --hotkey press|release  tell the running Quenda that the hotkey went down or up,\n"
        "                          for a key binding of the desktop\n"
        "  --snapshot DIR          render every window into PNG files in DIR, then exit\n"
        "  --update-hud [VERSION] [--parent-pid N]\n"
        "                          show the update's progress until process N ends\n"
        "  -h, --help              show this help, then exit\n"
        "  --version               show the version, then exit\n");
}

QString LaunchRequest::versionText(const QString& appVersion)
{
    return QStringLiteral("quenda ") + appVersion + u'\n';
}
