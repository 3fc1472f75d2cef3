#include "support/temp_home.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

TempHome::TempHome()
    : m_previous(qgetenv("VELMARIN_HOME")), m_hadPrevious(qEnvironmentVariableIsSet("VELMARIN_HOME"))
{
    qputenv("VELMARIN_HOME", QFile::encodeName(m_dir.path()));
}

TempHome::~TempHome()
{
    if (m_hadPrevious)
        qputenv("VELMARIN_HOME", m_previous);
    else
        qunsetenv("VELMARIN_HOME");
}

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

QString testDataPath(const QString &name)
{
    return QStringLiteral(VELMARIN_TEST_DATA) + u'/' + name;
}
