#pragma once

#include "settingsconfig.h"

#include <QDialog>
#include <QString>

class QCheckBox;
class QComboBox;
class QLineEdit;
class QPushButton;
class QToolButton;
class QVBoxLayout;

namespace loomscope {

class ColourSwatch;
class ConfigStore;
class UserMessages;
struct IntegrationOutcome;

// The settings dialog ("设置"): the external editor, the background and fabric, the sequin
// sizes and colour, and the buttons that tie the program into the desktop. On each showing it
// lists the fabric pictures and reads the settings from `config`; "保存" writes its eight keys and
// keeps every other line of the file. The main window reads the editor path from it directly, so a
// new path is used at once, before it is saved.
class TForm4 : public QDialog {
    Q_OBJECT
public:
    TForm4(ConfigStore& config, const QString& programHome, UserMessages& messages,
           QWidget* parent = nullptr);

    QString editorPath() const;              // Edit3
    void setEditorPath(const QString& path); // the main window hands over "editor" on show

    // The program that the desktop entry and the thumbnailer name; desktopProgramFile() unless
    // set otherwise.
    const QString& desktopProgram() const { return desktopProgram_; }
    void setDesktopProgram(const QString& path) { desktopProgram_ = path; }

    // Lists the fabrics and loads config.ini, as every showing does.
    void loadSettings();
    // "保存": true when config.ini was written.
    bool saveSettings();

protected:
    void showEvent(QShowEvent* event) override;

private:
    // What the controls hold now, in the form config.ini keeps it.
    SettingsValues valuesOfControls() const;
    void buildGeneralGroup(QVBoxLayout* page);
    void chooseEditor();
    void testEditor();
    void associate();
    void registerThumbnailer(bool install);
    void registerSibling(int plugin, bool install);
    void report(const IntegrationOutcome& outcome);

    ConfigStore& config_;
    QString programHome_;
    UserMessages& messages_;
    QString desktopProgram_;

    QPushButton* Button1 = nullptr;      // 保存
    QPushButton* Button2 = nullptr;      // 关闭
    QPushButton* Button3 = nullptr;      // 注册dst缩略图
    QPushButton* Button4 = nullptr;      // 关联dst格式
    QPushButton* Button5 = nullptr;      // 注册dst属性页
    QPushButton* Button6 = nullptr;      // 卸载dst缩略图
    QPushButton* Button7 = nullptr;      // 卸载dst属性页
    QPushButton* Button8 = nullptr;      // 卸载emb缩略图
    QPushButton* Button9 = nullptr;      // 注册emb缩略图
    QToolButton* SpeedButton1 = nullptr; // "...": choose the editor
    QToolButton* SpeedButton2 = nullptr; // 测试
    QLineEdit* Edit1 = nullptr;          // sequin outer diameter
    QLineEdit* Edit2 = nullptr;          // sequin hole
    QLineEdit* Edit3 = nullptr;          // editor path
    QCheckBox* CheckBox4 = nullptr;      // 开启布底
    QComboBox* ComboBox1 = nullptr;      // fabric name
    ColourSwatch* Panel1 = nullptr;      // sequin colour
    ColourSwatch* Panel2 = nullptr;      // background colour
    ColourSwatch* Panel3 = nullptr;      // fabric colour
};

} // namespace loomscope
