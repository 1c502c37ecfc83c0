#include "speech/bundled_engine.h"

#include "core/base/support_paths.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStringDecoder>

namespace {

// Text of a UTF-8 file, trimmed; none when it cannot be read or is not UTF-8.
std::optional<QString> readTrimmed(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return std::nullopt;
    QStringDecoder decoder(QStringDecoder::Utf8);
    const QString text = decoder.decode(file.readAll());
    if (decoder.hasError())
        return std::nullopt;
    return text.trimmed();
}

} // namespace

std::optional<BundledEngine> BundledEngine::find(const QString& resourceDir)
{
    if (resourceDir.isEmpty())
        return std::nullopt;
    const QDir dir(resourceDir);
    BundledEngine bundled{
        dir.filePath(QStringLiteral("engine")), dir.filePath(QStringLiteral("setup_engine.sh")), {}};
    if (!QFileInfo::exists(bundled.source) || !QFileInfo::exists(bundled.script))
        return std::nullopt;
    const auto version = readTrimmed(dir.filePath(QStringLiteral("engine.version")));
    if (!version || version->isEmpty())
        return std::nullopt;
    bundled.version = *version;
    return bundled;
}

QString BundledEngine::interpreter()
{
    return SupportPaths::file(QStringLiteral(".venv/bin/python"));
}

bool BundledEngine::interpreterReady()
{
    const QFileInfo info(interpreter());
    return info.isFile() && info.isExecutable();
}

bool BundledEngine::needsSetup() const
{
    if (!interpreterReady())
        return true;
    const auto installed = readTrimmed(SupportPaths::file(QStringLiteral("engine.version")));
    return !installed || *installed != version;
}
