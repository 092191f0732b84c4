#include "mainactions.h"

#include "toolicons.h"

#include <QAction>

namespace loomscope {

MainActions::MainActions(QObject* parent) : QObject(parent)
{
    // The hint is the button's tooltip; the three buttons at the end have none.
    auto make = [this](const char* button, ToolIcon icon, const QString& hint) {
        auto* action = new QAction(toolIcon(icon), hint, this);
        action->setObjectName(QLatin1String("action") + QLatin1String(button));
        strip_.emplace_back(button, action);
        return action;
    };
    open = make("ToolButton1", ToolIcon::Open, tr("打开版带文件"));
    savePicture = make("ToolButton2", ToolIcon::SavePicture, tr("保存高清仿真图"));
    previous = make("ToolButton3", ToolIcon::Previous, tr("上一文件(←)"));
    next = make("ToolButton4", ToolIcon::Next, tr("下一文件(→)"));
    browser = make("ToolButton28", ToolIcon::Browser, tr("浏览器"));
    enlarge = make("ToolButton5", ToolIcon::ZoomIn, tr("放大(+)"));
    reduce = make("ToolButton6", ToolIcon::ZoomOut, tr("缩小(-)"));
    actualSize = make("ToolButton8", ToolIcon::ActualSize, tr("实际大小(1)"));
    fit = make("ToolButton7", ToolIcon::Fit, tr("满屏显示(0)"));
    measure = make("ToolButton26", ToolIcon::Measure, tr("测量(M)"));
    threadLook = make("ToolButton9", ToolIcon::ThreadLook, tr("仿真(T)"));
    lines = make("ToolButton10", ToolIcon::Lines, tr("线条"));
    stitchPoints = make("ToolButton11", ToolIcon::StitchPoints, tr("针迹点(.)"));
    machineCodes = make("ToolButton12", ToolIcon::MachineCodes, tr("机器功能"));
    slowDisplay = make("ToolButton35", ToolIcon::SlowDisplay, tr("慢速显示(shift+R)"));
    firstColour = make("ToolButton13", ToolIcon::FirstColour, QStringLiteral("home"));
    priorColour = make("ToolButton14", ToolIcon::PriorColour, QStringLiteral("pageup"));
    nextColour = make("ToolButton15", ToolIcon::NextColour, QStringLiteral("pagedown"));
    endColour = make("ToolButton16", ToolIcon::EndColour, QStringLiteral("end"));
    fabric = make("ToolButton17", ToolIcon::Fabric, tr("布底"));
    colourPanel = make("ToolButton18", ToolIcon::ColourPanel, tr("色序"));
    screenshot = make("ToolButton24", ToolIcon::Screenshot, tr("屏幕截图"));
    print = make("ToolButton25", ToolIcon::Print, tr("打印"));
    editor = make("ToolButton23", ToolIcon::Editor, tr("编辑版带"));
    settings = make("ToolButton31", ToolIcon::Settings, QString());
    webPage = make("ToolButton32", ToolIcon::WebPage, QString());
    about = make("ToolButton33", ToolIcon::About, QString());
    toggleShowType = new QAction(this);
    toggleBeginEnd = new QAction(this);

    // Picture and print need a design; they are enabled by the first open.
    savePicture->setEnabled(false);
    print->setEnabled(false);
}

QAction* MainActions::forKey(MainAction action) const
{
    switch (action) {
    case MainAction::ToggleShowType:
        return toggleShowType;
    case MainAction::PreviousFile:
        return previous;
    case MainAction::NextFile:
        return next;
    case MainAction::Enlarge:
        return enlarge;
    case MainAction::Reduce:
        return reduce;
    case MainAction::Fit:
        return fit;
    case MainAction::ActualSize:
        return actualSize;
    case MainAction::ToggleBeginEnd:
        return toggleBeginEnd;
    case MainAction::TogglePoints:
        return stitchPoints;
    case MainAction::FirstColour:
        return firstColour;
    case MainAction::EndColour:
        return endColour;
    case MainAction::PriorColour:
        return priorColour;
    case MainAction::NextColour:
        return nextColour;
    case MainAction::Measure:
        return measure;
    case MainAction::SlowDisplay:
        return slowDisplay;
    case MainAction::Print:
        return print;
    }
    return nullptr;
}

} // namespace loomscope
