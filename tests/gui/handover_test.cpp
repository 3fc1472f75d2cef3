// Two real velmarin processes: the second hands its document to the first,
// which checks it, and the second ends only after that.
#include <QDateTime>
#include <QFileInfo>
#include <QLocalSocket>
#include <QStandardPaths>
#include <csignal>

#include "app/single_instance.h"
#include "support/window_test.h"

using namespace Qt::Literals::StringLiterals;

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
        const QString tidy = QStandardPaths::findExecutable(u"tidy"_s);
        QVERIFY(!tidy.isEmpty());
        const QString slowTidy = m_home->script(
            u"slow-tidy"_s,
            QByteArray("[ \"$1\" = -q ] || exec 'TIDY' \"$@\"\nsleep 1\n'TIDY' \"$@\"\n"
                       "status=$?\ndate +%s%N > 'DONE'\nexit $status\n")
                .replace("TIDY", tidy.toUtf8())
                .replace("DONE", QFile::encodeName(m_home->file(u"tidy-done"_s))));
        IniFile ini(m_home->file(u"Velmarin.ini"_s));
        ini.writeString(u"Tidy"_s, u"Path"_s, slowTidy);
        ini.writeString(u"Editor"_s, u"Path"_s, u"/bin/true"_s);
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

    // The second start, in a folder of its own, hands over its relative
    // document and ends only after the first instance has checked it.
    void secondStartHandsOverAndWaits()
    {
        m_home->write(u"first/page one.html"_s, "<p>first");
        m_home->write(u"second/page one.html"_s, "<p>second");
        m_first.setWorkingDirectory(m_home->file(u"first"_s));
        m_first.setProcessChannelMode(QProcess::ForwardedChannels);
        m_first.start(QStringLiteral(VELMARIN_GUI_PATH), QStringList());
        QVERIFY(m_first.waitForStarted(10000));
        QTRY_VERIFY_WITH_TIMEOUT(QFileInfo::exists(SingleInstance::serverName()), 15000);
        const QFileInfo socket(SingleInstance::serverName());
        QVERIFY(!(socket.permissions() &
                  (QFile::ReadGroup | QFile::WriteGroup | QFile::ReadOther | QFile::WriteOther)));

        // Malformed requests are answered and ignored.
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
        QVERIFY(!QFile::exists(m_home->file(u"tidy-done"_s)));

        QProcess second;
        second.setWorkingDirectory(m_home->file(u"second"_s));
        second.start(QStringLiteral(VELMARIN_GUI_PATH), {u"page one.html"_s});
        QVERIFY(second.waitForFinished(30000));
        const qint64 secondEnded = QDateTime::currentMSecsSinceEpoch();
        QCOMPARE(second.exitCode(), 0);
        QVERIFY(QFile::exists(m_home->file(u"tidy-done"_s)));
        const qint64 tidyDone = m_home->read(u"tidy-done"_s).trimmed().toLongLong() / 1000000;
        QVERIFY2(tidyDone <= secondEnded, "the second start ended before the check was done");
        const QString report = TextCodec::decode(m_home->read(u"temp/tidy_err0.txt"_s));
        QVERIFY2(report.startsWith(u"情報: チェックしたHTML: "_s +
                                   m_home->file(u"second/page one.html"_s)),
                 qPrintable(report));

        // A second start without arguments ends at once; the first keeps running.
        QProcess third;
        third.start(QStringLiteral(VELMARIN_GUI_PATH), QStringList());
        QVERIFY(third.waitForFinished(10000));
        QCOMPARE(m_first.state(), QProcess::Running);

        // SIGTERM closes the window: the placement is written, the working folder emptied.
        m_first.terminate();
        QVERIFY(m_first.waitForFinished(10000));
        QCOMPARE(m_first.exitStatus(), QProcess::NormalExit);
        QVERIFY(IniFile(m_home->file(u"Velmarin.ini"_s)).hasKey(u"Position"_s, u"Width"_s));
        QVERIFY(!QFile::exists(m_home->file(u"temp/tidy_err0.txt"_s)));
    }

private:
    std::unique_ptr<TempHome> m_home;
    std::unique_ptr<QTemporaryDir> m_runtime;
    QProcess m_first;
};

QTEST_MAIN(HandoverTest)
#include "handover_test.moc"
