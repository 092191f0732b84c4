#pragma once

#include <QString>

class QWidget;

namespace loomscope {

// How the program tells the user something: the general error box (the program goes on after
// it) and plain information. Windows take one of these so tests can read what would be shown.
class UserMessages {
public:
    virtual ~UserMessages() = default;
    virtual void error(QWidget* parent, const QString& text) = 0;
    virtual void information(QWidget* parent, const QString& text) = 0;
};

// Message boxes.
class MessageBoxes : public UserMessages {
public:
    void error(QWidget* parent, const QString& text) override;
    void information(QWidget* parent, const QString& text) override;
};

} // namespace loomscope
