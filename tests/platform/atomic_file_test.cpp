#include "platform/atomic_file.h"

#include <gtest/gtest.h>
#include <sys/resource.h>

#include <QDir>
#include <QTemporaryDir>
#include <csignal>

TEST(AtomicFile, WritesReadsAndCreatesTheFolder)
{
    QTemporaryDir dir;
    const QString path = dir.filePath("新しい フォルダ/sub/a.ini");
    QString error;
    ASSERT_TRUE(writeFileAtomically(path, QByteArray("one\r\n"), &error)) << qPrintable(error);
    ASSERT_TRUE(writeFileAtomically(path, QByteArray("two"), &error)) << qPrintable(error);
    bool ok = false;
    EXPECT_EQ(readWholeFile(path, &ok), QByteArray("two"));
    EXPECT_TRUE(ok);
    // No temporary file stays behind.
    EXPECT_EQ(QDir(dir.filePath("新しい フォルダ/sub")).entryList(QDir::Files), QStringList{"a.ini"});

    readWholeFile(dir.filePath("missing"), &ok);
    EXPECT_FALSE(ok);
    readWholeFile(dir.path(), &ok);
    EXPECT_FALSE(ok);
}

TEST(AtomicFile, FailureNamesTheFileAndTouchesNothing)
{
    QTemporaryDir dir;
    const QString blocker = dir.filePath("plain");
    ASSERT_TRUE(writeFileAtomically(blocker, QByteArray("keep"), nullptr));

    // A parent that is a regular file stops the write even for root.
    const QString path = blocker + "/a.ini";
    QString error;
    EXPECT_FALSE(writeFileAtomically(path, QByteArray("x"), &error));
    EXPECT_TRUE(error.contains(QStringLiteral("ファイル「%1」").arg(path))) << qPrintable(error);
    EXPECT_EQ(readWholeFile(blocker), QByteArray("keep"));

    // A folder in the way of the file.
    EXPECT_FALSE(writeFileAtomically(dir.path(), QByteArray("x"), &error));
    EXPECT_TRUE(QFileInfo(dir.path()).isDir());

    // A read-only file, also for root, whom the rename would let through.
    QFile::setPermissions(blocker, QFile::ReadOwner | QFile::ReadGroup);
    EXPECT_FALSE(writeFileAtomically(blocker, QByteArray("x"), &error));
    EXPECT_TRUE(error.contains(QStringLiteral("読み取り専用"))) << qPrintable(error);
    EXPECT_EQ(readWholeFile(blocker), QByteArray("keep"));
}

TEST(AtomicFile, DiskFullMidWriteKeepsTheOldFile)
{
    QTemporaryDir dir;
    const QString path = dir.filePath("Velmarin.ini");
    ASSERT_TRUE(writeFileAtomically(path, QByteArray("[Tidy]\r\nDir=/old\r\n"), nullptr));

    // A file-size limit makes the write fail with EFBIG the way a full disk
    // would, also when the tests run as root.
    rlimit saved{};
    ASSERT_EQ(getrlimit(RLIMIT_FSIZE, &saved), 0);
    const auto previousHandler = std::signal(SIGXFSZ, SIG_IGN);
    rlimit small = saved;
    small.rlim_cur = 1024;
    ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &small), 0);
    QString error;
    // A small write stays in the file's buffer until commit; a large one goes
    // straight to the disk. Both must fail.
    const bool smallWritten = writeFileAtomically(path, QByteArray(2048, 'x'), &error);
    const bool written = writeFileAtomically(path, QByteArray(64 * 1024, 'x'), &error);
    setrlimit(RLIMIT_FSIZE, &saved);
    std::signal(SIGXFSZ, previousHandler);

    EXPECT_FALSE(smallWritten);
    EXPECT_FALSE(written);
    EXPECT_FALSE(error.isEmpty());
    EXPECT_EQ(readWholeFile(path), QByteArray("[Tidy]\r\nDir=/old\r\n"));
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files), QStringList{"Velmarin.ini"});
}
