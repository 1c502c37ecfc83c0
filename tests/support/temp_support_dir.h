#pragma once

#include <QString>
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
    static QByteArray readAll(const QString& path);
    static void writeAll(const QString& path, const QByteArray& bytes);

private:
    QTemporaryDir m_dir;
};
