// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "model/store/SqliteDatabase.h"

#include <QFile>
#include <QProcess>
#include <QThread>

// Another program holding a database's write lock, as `sqlite3 FILE "BEGIN EXCLUSIVE"` does,
// until release() or the end of the object.
class ForeignLock
{
public:
    explicit ForeignLock(const QString &path)
        : m_path(path)
        , m_heldSignal(path + QStringLiteral(".foreign-lock"))
    {
        QFile::remove(m_heldSignal);
        m_process.start(QStringLiteral("sqlite3"), {QStringLiteral("-bail"), path});
        m_process.waitForStarted();
        // Asking the database cannot tell this lock from a writer's own, and the tool's output
        // is buffered in a pipe: it says it holds the lock in a file that `.output stdout`
        // closes. A program saving back to back can keep it waiting for seconds on a busy
        // machine.
        m_process.write(QStringLiteral(".timeout 20000\nBEGIN EXCLUSIVE;\n.output '%1'\n"
                                       ".print held\n.output stdout\n")
                            .arg(m_heldSignal)
                            .toUtf8());
        m_process.waitForBytesWritten();
        for (int i = 0; i < 2000 && !QFile::exists(m_heldSignal); ++i)
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
        QFile::remove(m_heldSignal);
    }

private:
    QString m_path;
    QString m_heldSignal;
    QProcess m_process;
};
