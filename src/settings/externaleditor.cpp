#include "externaleditor.h"

#include "editorcommand.h"
#include "session/pathstrings.h"
#include "session/usermessages.h"
#include "tform4.h"

namespace loomscope {

void openDesignInEditor(QWidget* parent, TForm4& settings, const std::string& designPath,
                        UserMessages& messages)
{
    const EditorOutcome outcome =
        openInExternalEditor(pathBytes(settings.editorPath()), designPath);
    switch (outcome.status) {
    case EditorStatus::EditorMissing:
        messages.information(parent, TForm4::tr("未找到编辑软件，请先设置"));
        settings.exec();
        break;
    case EditorStatus::Failed:
        messages.error(parent, QString::fromStdString(outcome.error));
        break;
    case EditorStatus::Started:
    case EditorStatus::NoDesignFile:
        break;
    }
}

} // namespace loomscope
