#pragma once

// What the window tests share: QtTest, the widget classes most of them use,
// the program folder and its files, and the common test helpers.
#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QProcess>
#include <QPushButton>
#include <QScreen>
#include <QSignalSpy>
#include <QStatusBar>
#include <QTabWidget>
#include <QTest>
#include <QTimer>
#include <QUrl>

#include "platform/ini_file.h"
#include "platform/program_folder.h"
#include "platform/text_codec.h"
#include "support/recording_runner.h"
#include "support/screenshot_dir.h"
#include "support/temp_home.h"
