#include "test_sinks.h"

#include <QCoreApplication>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>

TestSinks::TestSinks(const QString& tag)
    : m_prefix(QStringLiteral("quenda_t") + QString::number(QCoreApplication::applicationPid()) +
               QLatin1Char('_') + tag + QLatin1Char('_'))
{
}

TestSinks::~TestSinks()
{
    for (const auto& module : m_modules)
        pactl({QStringLiteral("unload-module"), module});
}

QString TestSinks::add(const QString& suffix)
{
    const QString name = m_prefix + suffix;
    const auto module = pactl({QStringLiteral("load-module"), QStringLiteral("module-null-sink"),
                               QStringLiteral("sink_name=") + name, QStringLiteral("channels=2"),
                               QStringLiteral("channel_map=front-left,front-right")});
    if (!module)
        return {};
    m_modules.append(QString::fromUtf8(module->trimmed()));
    return name;
}

std::optional<TestSinks::State> TestSinks::state(const QString& sink)
{
    const auto json = pactl(
        {QStringLiteral("-f"), QStringLiteral("json"), QStringLiteral("list"), QStringLiteral("sinks")});
    if (!json)
        return std::nullopt;
    for (const auto& value : QJsonDocument::fromJson(*json).array()) {
        const QJsonObject object = value.toObject();
        if (object.value(QStringLiteral("name")).toString() != sink)
            continue;
        State state;
        state.muted = object.value(QStringLiteral("mute")).toBool();
        const QJsonObject volume = object.value(QStringLiteral("volume")).toObject();
        for (auto it = volume.begin(); it != volume.end(); ++it)
            state.channels.insert(
                it.key(),
                static_cast<quint32>(it.value().toObject().value(QStringLiteral("value")).toInteger()));
        return state;
    }
    return std::nullopt;
}

std::optional<QByteArray> TestSinks::pactl(const QStringList& arguments)
{
    QProcess process;
    process.start(QStringLiteral("pactl"), arguments);
    if (!process.waitForFinished(10000) || process.exitStatus() != QProcess::NormalExit ||
        process.exitCode() != 0)
        return std::nullopt;
    return process.readAllStandardOutput();
}

bool TestSinks::privateServerRunning()
{
    // Null sinks loaded into a desktop's own server could take over its default output.
    return qEnvironmentVariable("QUENDA_IN_SERVICES") == QLatin1String("1") &&
           pactl({QStringLiteral("info")}).has_value();
}
