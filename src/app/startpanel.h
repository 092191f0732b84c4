#pragma once

#include <QWidget>
#include <string>
#include <vector>

class QLabel;
class QListWidget;

namespace loomscope {

// What the view shows while it holds no design: one line on how to open one, and the designs
// opened last with their folders (newest first), any of which opens with a click or Enter.
// After a file that could not be read, a line saying so comes first. It is laid over the
// view, transparent, in the overlay's font and text colour.
class StartPanel : public QWidget {
    Q_OBJECT
public:
    explicit StartPanel(QWidget* parent = nullptr);

    // The designs to offer (paths as bytes), newest first; those no longer there are left out
    // by the caller.
    void setDesigns(const std::vector<std::string>& designs);
    // A line about the file that could not be shown; empty for none.
    void setProblem(const QString& text);
    // The text colour: the complement of what lies under it, as for the view's overlay.
    void setInk(const QColor& colour);

    QListWidget* recentList() const { return list_; }

signals:
    void designChosen(const std::string& path);

private:
    void choose(int row);

    QLabel* problem_ = nullptr;
    QLabel* hint_ = nullptr;
    QLabel* caption_ = nullptr;
    QListWidget* list_ = nullptr;
    std::vector<std::string> designs_;
    QColor ink_;
};

} // namespace loomscope
