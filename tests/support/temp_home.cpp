#include "support/temp_home.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <iconv.h>
#include <sys/resource.h>
#include <csignal>

TempHome::TempHome() : m_env{{"VELMARIN_HOME", QFile::encodeName(m_dir.path())}} {}

QString TempHome::path() const { return m_dir.path(); }

QString TempHome::file(const QString &name) const { return m_dir.path() + u'/' + name; }

void TempHome::write(const QString &name, const QByteArray &bytes) const
{
    const QString full = file(name);
    QDir().mkpath(QFileInfo(full).absolutePath());
    QFile f(full);
    if (f.open(QIODevice::WriteOnly))
        f.write(bytes);
}

QByteArray TempHome::read(const QString &name) const
{
    QFile f(file(name));
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

QString TempHome::script(const QString &name, const QByteArray &body) const
{
    write(name, "#!/bin/sh\n" + body);
    QFile::setPermissions(file(name), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    return file(name);
}

QString testDataPath(const QString &name)
{
    return QStringLiteral(VELMARIN_TEST_DATA) + u'/' + name;
}

QByteArray inEncoding(const QString &text, const char *encoding)
{
    iconv_t cd = iconv_open(encoding, "UTF-8");
    if (cd == reinterpret_cast<iconv_t>(-1))
        return {};
    QByteArray in = text.toUtf8();
    QByteArray out(in.size() * 4 + 16, '\0');
    char *from = in.data();
    char *to = out.data();
    size_t fromLeft = size_t(in.size()), toLeft = size_t(out.size());
    const bool ok = iconv(cd, &from, &fromLeft, &to, &toLeft) != size_t(-1) &&
                    iconv(cd, nullptr, nullptr, &to, &toLeft) != size_t(-1);
    iconv_close(cd);
    out.truncate(out.size() - qsizetype(toLeft));
    return ok ? out : QByteArray();
}

FileSizeLimit::FileSizeLimit(unsigned long bytes) : m_handler(std::signal(SIGXFSZ, SIG_IGN))
{
    rlimit limit{};
    getrlimit(RLIMIT_FSIZE, &limit);
    m_saved[0] = limit.rlim_cur;
    m_saved[1] = limit.rlim_max;
    limit.rlim_cur = bytes;
    setrlimit(RLIMIT_FSIZE, &limit);
}

FileSizeLimit::~FileSizeLimit()
{
    const rlimit saved{m_saved[0], m_saved[1]};
    setrlimit(RLIMIT_FSIZE, &saved);
    std::signal(SIGXFSZ, m_handler);
}
