// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>
#include <QTemporaryDir>

// Points HOME and the XDG folders at a fresh temporary folder for the life of the object,
// so a test never touches the real home. Restores the previous values afterwards.
class TestEnvironment
{
public:
    TestEnvironment();
    ~TestEnvironment();
    TestEnvironment(const TestEnvironment &) = delete;
    TestEnvironment &operator=(const TestEnvironment &) = delete;

    QString root() const { return m_dir.path(); }
    QString dataHome() const;
    QString configHome() const;

private:
    QTemporaryDir m_dir;
    QList<QPair<QByteArray, QByteArray>> m_saved;
};

// The permission bits of a file or folder (with set-id and sticky bits); 0 when it is absent.
unsigned fileMode(const QString &path);
// What a file holds; empty when it cannot be read.
QByteArray fileContents(const QString &path);
// Writes a file whole, making its folder first; false when it cannot.
bool writeFile(const QString &path, const QByteArray &bytes);
