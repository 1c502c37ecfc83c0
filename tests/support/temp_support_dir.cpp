#include "temp_support_dir.h"

#include "core/base/support_paths.h"
#include "core/base/timing.h"

#include <QDir>
#include <QFile>

void TempSupportDir::SetUp()
{
    ASSERT_TRUE(m_dir.isValid());
    SupportPaths::setUntouched(false);
    SupportPaths::setDataRoot(m_dir.path());
}

void TempSupportDir::TearDown()
{
    // Lines still queued for this folder must land before it is removed.
    Timing::flush();
    SupportPaths::setUntouched(false);
}

QString TempSupportDir::supportFile(const QString& name) const
{
    return QDir(SupportPaths::directory()).filePath(name);
}

QString TempSupportDir::logged() const
{
    Timing::flush();
    return QString::fromUtf8(readAll(supportFile(QStringLiteral("timing.log"))));
}

QStringList TempSupportDir::keptAside(const QString& name) const
{
    return QDir(SupportPaths::directory())
        .entryList({name + QStringLiteral(".corrupt-*")}, QDir::AllEntries | QDir::System | QDir::Hidden);
}

QByteArray TempSupportDir::readAll(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    return file.readAll();
}

void TempSupportDir::writeAll(const QString& path, const QByteArray& bytes)
{
    QDir().mkpath(QFileInfo(path).path());
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    file.write(bytes);
}
