#pragma once

#include <QString>
#include <QStringList>
#include <QTemporaryDir>

#include <gtest/gtest.h>

// Points the support folder at a fresh temporary data root for each test.
class TempSupportDir : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

    // The data root that holds "Morvane Quenda".
    QString root() const { return m_dir.path(); }
    // A path inside the support folder.
    QString supportFile(const QString& name) const;
    // Everything marked in timing.log so far.
    QString logged() const;
    // What writes kept aside of the support file `name` ("<name>.corrupt-*"), of any file type.
    QStringList keptAside(const QString& name) const;
    static QByteArray readAll(const QString& path);
    static void writeAll(const QString& path, const QByteArray& bytes);

private:
    QTemporaryDir m_dir;
};
