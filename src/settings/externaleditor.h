#pragma once

#include <string>

class QWidget;

namespace loomscope {

class TForm4;
class UserMessages;

// "编辑版带": opens the current design (its real path, as the main window's state holds it)
// in the editor named by the settings dialog's path field. Without a usable editor the user
// is told "未找到编辑软件，请先设置" and the settings dialog opens; without a design file
// nothing happens; an editor that cannot be started is reported.
void openDesignInEditor(QWidget* parent, TForm4& settings, const std::string& designPath,
                        UserMessages& messages);

} // namespace loomscope
