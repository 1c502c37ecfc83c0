#include "app/shell/demo_desktop.h"

#include <QPainter>
#include <QPainterPath>
#include <QPixmap>
#include <QTimer>

namespace {

const QList<FrontApp>& knownApps()
{
    static const QList<FrontApp> apps{
        {QStringLiteral("org.gnome.Calculator"), QStringLiteral("Calculator")},
        {QStringLiteral("im.riot.Element"), QStringLiteral("Element")},
        {QStringLiteral("org.gnome.Nautilus"), QStringLiteral("Files")},
        {QStringLiteral("org.gnome.Loupe"), QStringLiteral("Image Viewer")},
        {QStringLiteral("org.kde.kate"), QStringLiteral("Kate")},
        {QStringLiteral("md.obsidian.Obsidian"), QStringLiteral("Obsidian")},
        {QStringLiteral("com.slack.Slack"), QStringLiteral("Slack")},
        {QStringLiteral("org.gnome.TextEditor"), QStringLiteral("Text Editor")},
        {QStringLiteral("org.mozilla.Thunderbird"), QStringLiteral("Thunderbird")},
        {QStringLiteral("com.visualstudio.code"), QStringLiteral("Visual Studio Code")},
    };
    return apps;
}

} // namespace

QString DemoDesktop::nameOf(const QString& appId)
{
    for (const FrontApp& app : knownApps()) {
        if (app.bundleID == appId)
            return app.name;
    }
    // An id the demonstration does not know: its last part names it well enough.
    return appId.section(QLatin1Char('.'), -1);
}

std::optional<FrontApp> DemoDesktop::frontmostApp() const
{
    return FrontApp{QStringLiteral("org.gnome.TextEditor"), QStringLiteral("Text Editor")};
}

QList<FrontApp> DemoDesktop::runningApps() const
{
    return {*frontmostApp()};
}

QList<FrontApp> DemoDesktop::installedApps() const
{
    return runningApps();
}

WindowSystem::Activated DemoDesktop::activate(const AppWindow&)
{
    return Failure{Failure::Reason::Unavailable, QStringLiteral("demonstration desktop")};
}

void DemoDesktop::run(const ScriptRequest&, QObject* context, Completion done)
{
    ScriptResult result;
    result.status = ScriptResult::Status::FailedToStart;
    result.launchError = QStringLiteral("no programs run in a demonstration");
    QTimer::singleShot(0, context, [done = std::move(done), result] { done(result); });
}

QIcon DemoDesktop::icon(const QString& appId)
{
    const QString name = nameOf(appId);
    // Our own hash: Qt's string hash is seeded per process, and every run must draw the same.
    unsigned hash = 0;
    for (const QChar c : appId)
        hash = hash * 31 + c.unicode();
    const int hue = int(hash % 360);
    QIcon icon;
    for (const int side : {28, 56, 84}) {
        QPixmap art(side, side);
        art.fill(Qt::transparent);
        QPainter painter(&art);
        painter.setRenderHint(QPainter::Antialiasing);
        QLinearGradient fill(0, 0, side, side);
        fill.setColorAt(0, QColor::fromHsv(hue, 150, 235));
        fill.setColorAt(1, QColor::fromHsv((hue + 30) % 360, 200, 190));
        QPainterPath tile;
        tile.addRoundedRect(QRectF(1, 1, side - 2, side - 2), side * 0.22, side * 0.22);
        painter.fillPath(tile, fill);
        QFont font;
        font.setPixelSize(side / 2);
        font.setBold(true);
        painter.setFont(font);
        painter.setPen(Qt::white);
        painter.drawText(QRect(0, 0, side, side), Qt::AlignCenter, name.left(1).toUpper());
        painter.end();
        icon.addPixmap(art);
    }
    return icon;
}
