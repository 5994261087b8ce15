// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "model/store/SqliteDatabase.h"

#include <QProcess>
#include <QThread>

// Another program holding a database's write lock, as `sqlite3 FILE "BEGIN EXCLUSIVE"` does,
// until release() or the end of the object.
class ForeignLock
{
public:
    explicit ForeignLock(const QString &path)
        : m_path(path)
    {
        m_process.start(QStringLiteral("sqlite3"), {path});
        m_process.waitForStarted();
        m_process.write(".timeout 5000\nBEGIN EXCLUSIVE;\n");
        m_process.waitForBytesWritten();
        // The tool's output is buffered in a pipe, so ask the database instead.
        for (int i = 0; i < 500 && !isHeld(); ++i)
            QThread::msleep(10);
    }
    ~ForeignLock() { release(); }
    ForeignLock(const ForeignLock &) = delete;
    ForeignLock &operator=(const ForeignLock &) = delete;

    bool isHeld() const
    {
        SqliteDatabase probe;
        if (!probe.open(m_path, SqliteDatabase::Mode::ReadWrite))
            return false;
        if (probe.exec("BEGIN IMMEDIATE")) {
            probe.rollback();
            return false;
        }
        return true;
    }

    void release()
    {
        if (m_process.state() == QProcess::NotRunning)
            return;
        m_process.write("ROLLBACK;\n");
        m_process.waitForBytesWritten();
        m_process.closeWriteChannel();
        m_process.waitForFinished(5000);
    }

private:
    QString m_path;
    QProcess m_process;
};
