// Two real velmarin processes: the second hands its document to the first,
// which checks it, and the second ends only after that.
#include <QDateTime>
#include <QFile>
#include <QFileInfo>
#include <QLocalSocket>
#include <QProcess>
#include <QStandardPaths>
#include <QTest>

#include <csignal>

#include "app/single_instance.h"
#include "platform/ini_file.h"
#include "platform/text_codec.h"
#include "support/temp_home.h"

class HandoverTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void init()
    {
        m_home = std::make_unique<TempHome>();
        m_runtime = std::make_unique<QTemporaryDir>();
        qputenv("XDG_RUNTIME_DIR", QFile::encodeName(m_runtime->path()));
        // A Tidy that takes its time over a check and leaves a mark when it
        // is done; other questions (its option list) it answers at once.
        const QString tidy = QStandardPaths::findExecutable(QStringLiteral("tidy"));
        QVERIFY(!tidy.isEmpty());
        m_home->write(QStringLiteral("slow-tidy"),
                      "#!/bin/sh\n[ \"$1\" = -q ] || exec \"" + tidy.toUtf8() + "\" \"$@\"\n"
                      "sleep 1\n\"" + tidy.toUtf8() + "\" \"$@\"\nstatus=$?\n"
                      "date +%s%N > \"" + QFile::encodeName(m_home->file(QStringLiteral("tidy-done"))) +
                      "\"\nexit $status\n");
        QFile::setPermissions(m_home->file(QStringLiteral("slow-tidy")),
                              QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        IniFile ini(m_home->file(QStringLiteral("Velmarin.ini")));
        ini.writeString(QStringLiteral("Tidy"), QStringLiteral("Path"),
                        m_home->file(QStringLiteral("slow-tidy")));
        ini.writeString(QStringLiteral("Editor"), QStringLiteral("Path"), QStringLiteral("/bin/true"));
        m_home->write(QStringLiteral("page one.html"), "<p>one");
    }

    void cleanup()
    {
        if (m_first.state() != QProcess::NotRunning) {
            m_first.kill();
            m_first.waitForFinished();
        }
        m_home.reset();
        qunsetenv("XDG_RUNTIME_DIR");
    }

    void secondStartHandsOverAndWaits()
    {
        startFirst();

        QProcess second;
        second.start(QStringLiteral(VELMARIN_GUI_PATH), {m_home->file(QStringLiteral("page one.html"))});
        QVERIFY(second.waitForFinished(30000));
        const qint64 secondEnded = QDateTime::currentMSecsSinceEpoch();
        QCOMPARE(second.exitCode(), 0);

        // The first instance ran Tidy on the document before the second ended.
        QVERIFY(QFile::exists(m_home->file(QStringLiteral("tidy-done"))));
        const qint64 tidyDone = m_home->read(QStringLiteral("tidy-done")).trimmed().toLongLong() / 1000000;
        QVERIFY2(tidyDone <= secondEnded, "the second start ended before the check was done");
        const QString report =
            TextCodec::decode(m_home->read(QStringLiteral("temp/tidy_err0.txt")));
        QVERIFY(report.startsWith(QStringLiteral("情報: チェックしたHTML: ") +
                                  m_home->file(QStringLiteral("page one.html"))));

        // A second start without arguments ends at once; the first keeps running.
        QProcess third;
        third.start(QStringLiteral(VELMARIN_GUI_PATH), QStringList());
        QVERIFY(third.waitForFinished(10000));
        QCOMPARE(m_first.state(), QProcess::Running);

        // SIGTERM closes the window the normal way: the placement is written
        // and the working folder emptied.
        m_first.terminate();
        QVERIFY(m_first.waitForFinished(10000));
        QCOMPARE(m_first.exitStatus(), QProcess::NormalExit);
        IniFile ini(m_home->file(QStringLiteral("Velmarin.ini")));
        QVERIFY(ini.hasKey(QStringLiteral("Position"), QStringLiteral("Width")));
        QVERIFY(!QFile::exists(m_home->file(QStringLiteral("temp/tidy_err0.txt"))));
    }

    void relativeDocumentsAreTheSecondStartsOwn()
    {
        // Both folders hold a page.html; the second start means its own.
        m_home->write(QStringLiteral("first/page.html"), "<p>first");
        m_home->write(QStringLiteral("second/page.html"), "<p>second");
        startFirst(m_home->file(QStringLiteral("first")));

        QProcess second;
        second.setWorkingDirectory(m_home->file(QStringLiteral("second")));
        second.start(QStringLiteral(VELMARIN_GUI_PATH), {QStringLiteral("page.html")});
        QVERIFY(second.waitForFinished(30000));
        QCOMPARE(second.exitCode(), 0);
        const QString report =
            TextCodec::decode(m_home->read(QStringLiteral("temp/tidy_err0.txt")));
        QVERIFY2(report.startsWith(QStringLiteral("情報: チェックしたHTML: ") +
                                   m_home->file(QStringLiteral("second/page.html"))),
                 qPrintable(report));
    }

    void theSocketIsPrivateAndMalformedRequestsAreIgnored()
    {
        startFirst();
        const QFileInfo socket(SingleInstance::serverName());
        QVERIFY(socket.exists());
        QVERIFY(!(socket.permissions() & (QFile::ReadGroup | QFile::WriteGroup | QFile::ReadOther |
                                         QFile::WriteOther)));

        for (const QByteArray &junk : {QByteArray("X1hello", 8), QByteArray("C1\"open", 8)}) {
            QLocalSocket client;
            client.connectToServer(SingleInstance::serverName());
            QVERIFY(client.waitForConnected(5000));
            client.write(junk);
            client.waitForBytesWritten(5000);
            QVERIFY(client.waitForReadyRead(5000));
            QCOMPARE(client.readAll(), QByteArray("K"));
        }
        QTest::qWait(200);
        QCOMPARE(m_first.state(), QProcess::Running);
        QVERIFY(!QFile::exists(m_home->file(QStringLiteral("tidy-done"))));
    }

private:
    void startFirst(const QString &folder = QString())
    {
        m_first.setWorkingDirectory(folder);
        m_first.setProcessChannelMode(QProcess::ForwardedChannels);
        m_first.start(QStringLiteral(VELMARIN_GUI_PATH), QStringList());
        QVERIFY(m_first.waitForStarted(10000));
        QTRY_VERIFY_WITH_TIMEOUT(QFileInfo::exists(SingleInstance::serverName()), 15000);
    }

    std::unique_ptr<TempHome> m_home;
    std::unique_ptr<QTemporaryDir> m_runtime;
    QProcess m_first;
};

QTEST_MAIN(HandoverTest)
#include "handover_test.moc"
