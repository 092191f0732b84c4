#pragma once

#include <QObject>
#include <QString>
#include <QTimer>
#include <string>
#include <vector>

class QMenu;
class QWidget;

namespace loomscope {

class ConfigStore;
class UserMessages;

// The designs opened last, as the main window offers them: kept in config.ini (see
// recentdesigns.h), offered in a menu that is filled each time it opens, and added to after
// every design that was read. The file is not written at each design opened (a shop steps
// through a folder with the arrow keys): a few seconds after the last change, and when the
// window closes.
class RecentDesignList : public QObject {
    Q_OBJECT
public:
    RecentDesignList(ConfigStore& config, UserMessages& messages, QWidget* window);

    const std::vector<std::string>& designs() const { return designs_; }
    // The ones whose files are still there.
    std::vector<std::string> existing() const;
    // Puts `path` first; the list is kept a little later (see above).
    void remember(const std::string& path);
    // Keeps the list now if it changed; a list that cannot be kept is reported once.
    void flush();
    void setWriteDelay(int milliseconds) { writeTimer_.setInterval(milliseconds); }
    static constexpr int kWriteDelayMs = 3000;
    ~RecentDesignList() override;
    // A menu of the existing designs, for the open button.
    QMenu* makeMenu(QWidget* parent);

signals:
    void chosen(const std::string& path);

private:
    void fill(QMenu* menu);

    ConfigStore& config_;
    UserMessages& messages_;
    QWidget* window_;
    std::vector<std::string> designs_;
    QTimer writeTimer_;
    bool changed_ = false;
    bool problemShown_ = false;
};

} // namespace loomscope
