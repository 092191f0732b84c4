#include "recentdesignlist.h"

#include "config/configstore.h"
#include "model/fileio.h"
#include "session/pathstrings.h"
#include "session/recentdesigns.h"
#include "session/usermessages.h"

#include <QMenu>

namespace loomscope {

RecentDesignList::RecentDesignList(ConfigStore& config, UserMessages& messages, QWidget* window)
    : QObject(window), config_(config), messages_(messages), window_(window)
{
    designs_ = readRecentDesigns(config_.ini());
    writeTimer_.setSingleShot(true);
    writeTimer_.setInterval(kWriteDelayMs);
    connect(&writeTimer_, &QTimer::timeout, this, &RecentDesignList::flush);
}

RecentDesignList::~RecentDesignList()
{
    flush();
}

std::vector<std::string> RecentDesignList::existing() const
{
    return existingDesigns(designs_);
}

void RecentDesignList::remember(const std::string& path)
{
    const std::vector<std::string> designs = withRecentDesign(designs_, path);
    if (designs == designs_)
        return;
    designs_ = designs;
    changed_ = true;
    writeTimer_.start();
}

void RecentDesignList::flush()
{
    writeTimer_.stop();
    if (!changed_)
        return;
    changed_ = false;
    const std::string error = keepRecentDesigns(config_, designs_);
    // Said once: a program home that cannot be written would say it at every open.
    if (!error.empty() && !problemShown_) {
        problemShown_ = true;
        messages_.error(window_,
                        tr("The list of recent designs cannot be kept in \"%1\": %2")
                            .arg(displayPath(config_.path()), QString::fromStdString(error)));
    }
}

QMenu* RecentDesignList::makeMenu(QWidget* parent)
{
    auto* menu = new QMenu(parent);
    menu->setObjectName(QStringLiteral("RecentMenu"));
    connect(menu, &QMenu::aboutToShow, this, [this, menu] { fill(menu); });
    return menu;
}

void RecentDesignList::fill(QMenu* menu)
{
    menu->clear();
    const std::vector<std::string> there = existing();
    for (const std::string& path : there) {
        QAction* entry = menu->addAction(displayPath(fileNamePart(path)) + QStringLiteral("   ") +
                                         displayPath(folderPart(path)));
        connect(entry, &QAction::triggered, this, [this, path] { emit chosen(path); });
    }
    if (there.empty())
        menu->addAction(tr("（没有最近打开的版带）"))->setEnabled(false);
}

} // namespace loomscope
