#pragma once

#include "session/usermessages.h"

#include <QStringList>

namespace loomscope::testsupport {

// Keeps what a window would have shown in its message boxes, for tests to read.
struct RecordingMessages : UserMessages {
    void error(QWidget*, const QString& text) override { errors << text; }
    void information(QWidget*, const QString& text) override { notices << text; }
    QStringList errors;
    QStringList notices;
};

} // namespace loomscope::testsupport
