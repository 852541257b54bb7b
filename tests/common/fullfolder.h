// SPDX-License-Identifier: MIT
#pragma once

// Where writing a file fails as on a full disk. Preferably a real full disk: a 1 MiB tmpfs mounted
// over a temporary folder and filled to its last block (ENOSPC, "No space left on device"). That
// needs root with the right to mount; without it, a file-size limit (RLIMIT_FSIZE, EFBIG, "File
// too large") stands in, applied to the writing process only while it writes.

#include <QDir>
#include <QFile>
#include <QString>
#include <QTemporaryDir>
#include <csignal>
#include <sys/mount.h>
#include <sys/resource.h>
#include <unistd.h>

namespace pellimo::testing {

class FullFolder {
public:
    FullFolder()
    {
        // PELLIMO_TEST_NO_MOUNT=1 takes the file-size limit even where a mount would work.
        m_mounted = qEnvironmentVariableIsEmpty("PELLIMO_TEST_NO_MOUNT") && ::geteuid() == 0 &&
                    ::mount("tmpfs", QFile::encodeName(m_dir.path()).constData(), "tmpfs", 0,
                            "size=1m,mode=0755") == 0;
    }
    ~FullFolder()
    {
        if (m_mounted)
            ::umount2(QFile::encodeName(m_dir.path()).constData(), MNT_DETACH);
    }
    FullFolder(const FullFolder &) = delete;
    FullFolder &operator=(const FullFolder &) = delete;

    QString path() const { return m_dir.path(); }
    QString filePath(const QString &name) const { return m_dir.filePath(name); }

    // True: the folder is a small disk of its own, full once fill() has run. False: writes must
    // run under limitFileSize() to fail.
    bool isDisk() const { return m_mounted; }

    // The reason a failed write names.
    QString expectedReason() const
    {
        return m_mounted ? QStringLiteral("No space left on device")
                         : QStringLiteral("File too large");
    }

    // Takes the last free block with a file named "filler" (a no-op without the disk).
    bool fill() const
    {
        if (!m_mounted)
            return true;
        QFile filler(filePath(QStringLiteral("filler")));
        if (!filler.open(QIODevice::WriteOnly))
            return false;
        const QByteArray block(4096, 'x');
        while (filler.write(block) == block.size() && filler.flush()) {
        }
        QFile tail(filePath(QStringLiteral("filler.tail"))); // the last bytes of a partial block
        if (tail.open(QIODevice::WriteOnly))
            while (tail.write("x", 1) == 1 && tail.flush()) {
            }
        return true;
    }

    // The limit a writing process runs under when there is no disk: no file may grow past 16
    // bytes, and a write past it fails with EFBIG instead of ending the process with SIGXFSZ. For
    // a child, called between fork and exec; in this process, undone when `restore` is called.
    static void limitFileSize()
    {
        ::signal(SIGXFSZ, SIG_IGN);
        struct rlimit limit {};
        ::getrlimit(RLIMIT_FSIZE, &limit);
        limit.rlim_cur = 16; // the hard limit stays, so that the soft one can be raised again
        ::setrlimit(RLIMIT_FSIZE, &limit);
    }
    static void restoreFileSize()
    {
        struct rlimit limit {};
        ::getrlimit(RLIMIT_FSIZE, &limit);
        limit.rlim_cur = limit.rlim_max;
        ::setrlimit(RLIMIT_FSIZE, &limit);
    }

private:
    QTemporaryDir m_dir;
    bool m_mounted = false;
};

} // namespace pellimo::testing
