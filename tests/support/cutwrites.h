// Writes cut short as on a full disk: a file-size limit (RLIMIT_FSIZE, SIGXFSZ ignored) makes
// every write to a regular file past the limit fail with EFBIG, "File too large", through the
// real Qt and system calls; it needs no mounting and works as root. Pipes are not affected, so
// the test output goes on.
#pragma once

#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QString>
#include <QStringList>
#include <gtest/gtest.h>

#include <csignal>
#include <functional>
#include <sys/resource.h>

/** Limits the size of files this process writes while it lives. */
class TFileSizeLimit
{
public:
    explicit TFileSizeLimit(qint64 bytes)
    {
        getrlimit(RLIMIT_FSIZE, &m_saved);
        m_handler = std::signal(SIGXFSZ, SIG_IGN);
        rlimit limited = m_saved;
        limited.rlim_cur = rlim_t(bytes);
        m_active = setrlimit(RLIMIT_FSIZE, &limited) == 0;
    }
    ~TFileSizeLimit()
    {
        setrlimit(RLIMIT_FSIZE, &m_saved);
        std::signal(SIGXFSZ, m_handler);
    }
    TFileSizeLimit(const TFileSizeLimit &) = delete;
    TFileSizeLimit &operator=(const TFileSizeLimit &) = delete;
    bool Active() const { return m_active; }

private:
    rlimit m_saved{};
    void (*m_handler)(int) = SIG_DFL;
    bool m_active = false;
};

/** The reason the system gives for a write past the limit. */
inline const char *const kCutReason = "File too large";

/** Where a write of size bytes is cut: nothing, 100 bytes, 4 KB and one byte short (each only
 *  when below the size). */
inline QList<qint64> CutPoints(qint64 size)
{
    QList<qint64> cuts;
    for (qint64 n : {qint64(0), qint64(100), qint64(4096), size - 1})
        if (n >= 0 && n < size && !cuts.contains(n))
            cuts << n;
    return cuts;
}

inline QByteArray FileBytes(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

inline QStringList FolderEntries(const QString &folder)
{
    return QDir(folder).entryList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot,
                                  QDir::Name);
}

inline void PutFile(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    EXPECT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate)) << path.toStdString();
    file.write(bytes);
}

inline const QByteArray kOldFile = QByteArray("the old file\r\n").repeated(40);

/** Puts the old file at target and runs write (true on success; reason: the error text or the
 *  message the user saw) unlimited to learn the size of the new file; then, with the old file
 *  back each time, cuts the write at every cut point. Each cut must fail with the system's
 *  reason, leave the old file byte for byte, and leave no temporary file in the folder. Returns
 *  the size of the whole new file. */
inline qint64 ExpectCutWritesKeepTheOldFile(const QString &target,
                                            const std::function<bool(QString *reason)> &write,
                                            const QByteArray &old = kOldFile)
{
    PutFile(target, old);
    QString reason;
    EXPECT_TRUE(write(&reason)) << reason.toStdString();
    const qint64 size = QFileInfo(target).size();
    EXPECT_GT(size, 0);
    const QString folder = QFileInfo(target).absolutePath();
    for (qint64 cut : CutPoints(size)) {
        SCOPED_TRACE(QStringLiteral("cut at %1 of %2 bytes").arg(cut).arg(size).toStdString());
        PutFile(target, old);
        const QStringList before = FolderEntries(folder);
        reason.clear();
        bool written = true;
        {
            TFileSizeLimit limit(cut);
            EXPECT_TRUE(limit.Active());
            written = write(&reason);
        }
        EXPECT_FALSE(written);
        EXPECT_TRUE(reason.contains(QLatin1String(kCutReason))) << reason.toStdString();
        EXPECT_EQ(FileBytes(target), old);
        EXPECT_EQ(FolderEntries(folder), before);
    }
    return size;
}
