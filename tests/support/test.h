#pragma once

// What the GoogleTest suites share: the framework, the Qt classes most of them
// use, the program folder and its files, and the common test helpers.
#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QDir>
#include <QDirIterator>
#include <QEventLoop>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QProcessEnvironment>
#include <QRegularExpression>
#include <QSet>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTimer>
#include <QUrl>

#include "platform/atomic_file.h"
#include "platform/ini_file.h"
#include "platform/program_folder.h"
#include "platform/text_codec.h"
#include "support/env_guard.h"
#include "support/local_http_server.h"
#include "support/qt_print.h"
#include "support/recording_runner.h"
#include "support/recording_view.h"
#include "support/temp_home.h"
