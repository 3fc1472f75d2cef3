#include "support/test.h"

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
    EXPECT_EQ(QDir(dir.filePath("新しい フォルダ/sub")).entryList(QDir::Files),
              QStringList{"a.ini"});
    for (const QString &unreadable : {dir.filePath("missing"), dir.path()}) {
        readWholeFile(unreadable, &ok);
        EXPECT_FALSE(ok);
    }
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

    // A full disk in the middle of the write. A small write stays in the
    // file's buffer until commit, a large one goes straight to the disk:
    // both fail and leave the old file.
    const QString ini = dir.filePath("Velmarin.ini");
    ASSERT_TRUE(writeFileAtomically(ini, QByteArray("[Tidy]\r\nDir=/old\r\n"), nullptr));
    {
        FileSizeLimit full(1024);
        for (const qsizetype size : {2048, 64 * 1024}) {
            error.clear();
            EXPECT_FALSE(writeFileAtomically(ini, QByteArray(size, 'x'), &error)) << size;
            EXPECT_FALSE(error.isEmpty());
        }
    }
    EXPECT_EQ(readWholeFile(ini), QByteArray("[Tidy]\r\nDir=/old\r\n"));
    QStringList left = QDir(dir.path()).entryList(QDir::Files);
    left.sort();
    EXPECT_EQ(left, QStringList({"Velmarin.ini", "plain"}));

    // A read-only file, also for root, whom the rename would let through.
    QFile::setPermissions(blocker, QFile::ReadOwner | QFile::ReadGroup);
    EXPECT_FALSE(writeFileAtomically(blocker, QByteArray("x"), &error));
    EXPECT_TRUE(error.contains(QStringLiteral("読み取り専用"))) << qPrintable(error);
    EXPECT_EQ(readWholeFile(blocker), QByteArray("keep"));
}
