// SPDX-License-Identifier: GPL-3.0-or-later
#include "TestEnvironment.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <sys/stat.h>

namespace {
const char *const kVariables[] = {"HOME", "XDG_DATA_HOME", "XDG_CONFIG_HOME", "XDG_CACHE_HOME"};
}

TestEnvironment::TestEnvironment()
{
    for (const char *name : kVariables)
        m_saved.append({name, qgetenv(name)});
    qputenv("HOME", m_dir.path().toUtf8());
    qputenv("XDG_DATA_HOME", dataHome().toUtf8());
    qputenv("XDG_CONFIG_HOME", configHome().toUtf8());
    qputenv("XDG_CACHE_HOME", (m_dir.path() + "/cache").toUtf8());
    QDir().mkpath(dataHome());
    QDir().mkpath(configHome());
}

TestEnvironment::~TestEnvironment()
{
    for (const auto &[name, value] : m_saved)
        qputenv(name.constData(), value);
}

QString TestEnvironment::dataHome() const
{
    return m_dir.path() + QStringLiteral("/data");
}

QString TestEnvironment::configHome() const
{
    return m_dir.path() + QStringLiteral("/config");
}

unsigned fileMode(const QString &path)
{
    struct stat info = {};
    return ::stat(QFile::encodeName(path).constData(), &info) == 0 ? info.st_mode & 07777 : 0;
}

QByteArray fileContents(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

bool writeFile(const QString &path, const QByteArray &bytes)
{
    QDir().mkpath(QFileInfo(path).path());
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
}
