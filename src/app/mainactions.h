#pragma once

#include "keyboardmap.h"

#include <QObject>
#include <utility>
#include <vector>

class QAction;

namespace loomscope {

// One QAction per command of the main window. The tool strip's buttons show them (each button
// keeps its own object name and takes the action's picture and hint), the key table triggers
// the same actions, and the main window connects each action to its work once. A command that
// cannot run yet is disabled in one place, the action, and its button and key follow.
class MainActions : public QObject {
    Q_OBJECT
public:
    explicit MainActions(QObject* parent = nullptr);

    QAction* open;         // ToolButton1
    QAction* savePicture;  // ToolButton2
    QAction* previous;     // ToolButton3
    QAction* next;         // ToolButton4
    QAction* browser;      // ToolButton28
    QAction* enlarge;      // ToolButton5
    QAction* reduce;       // ToolButton6
    QAction* actualSize;   // ToolButton8
    QAction* fit;          // ToolButton7
    QAction* measure;      // ToolButton26
    QAction* threadLook;   // ToolButton9
    QAction* lines;        // ToolButton10
    QAction* stitchPoints; // ToolButton11
    QAction* machineCodes; // ToolButton12
    QAction* slowDisplay;  // ToolButton35
    QAction* firstColour;  // ToolButton13
    QAction* priorColour;  // ToolButton14
    QAction* nextColour;   // ToolButton15
    QAction* endColour;    // ToolButton16
    QAction* fabric;       // ToolButton17
    QAction* colourPanel;  // ToolButton18
    QAction* screenshot;   // ToolButton24
    QAction* print;        // ToolButton25
    QAction* editor;       // ToolButton23
    QAction* settings;     // ToolButton31
    QAction* webPage;      // ToolButton32
    QAction* about;        // ToolButton33
    // Keys only: T switches between the two show types, 2 the start and end marks.
    QAction* toggleShowType;
    QAction* toggleBeginEnd;

    // The tool strip, left to right: each button's object name and its action.
    const std::vector<std::pair<const char*, QAction*>>& toolStrip() const { return strip_; }
    // The action a row of the key table runs.
    QAction* forKey(MainAction action) const;

private:
    std::vector<std::pair<const char*, QAction*>> strip_;
};

} // namespace loomscope
