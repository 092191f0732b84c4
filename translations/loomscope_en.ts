<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="en" sourcelanguage="zh_CN">
<context>
    <name>DesktopIntegration</name>
    <message>
        <source>程序路径不是绝对路径：%1</source>
        <translation>The program path is not an absolute path: %1</translation>
    </message>
    <message>
        <source>程序路径含有不能写进桌面文件的字符</source>
        <translation>The program path contains characters that cannot be written to a desktop file.</translation>
    </message>
    <message>
        <source>程序路径含有控制字符</source>
        <translation>The program path contains control characters.</translation>
    </message>
    <message>
        <source>无法创建文件夹 %1：%2</source>
        <translation>Cannot create the folder %1: %2</translation>
    </message>
    <message>
        <source>无法写入 %1：%2</source>
        <translation>Cannot write %1: %2</translation>
    </message>
    <message>
        <source>无法读取 %1：%2</source>
        <translation>Cannot read %1: %2</translation>
    </message>
    <message>
        <source>找不到程序 %1</source>
        <translation>Cannot find the program %1</translation>
    </message>
    <message>
        <source>%1 未能更新 %2（退出码 %3）</source>
        <translation>%1 could not update %2 (exit code %3)</translation>
    </message>
    <message>
        <source>没找到dst缩图插件</source>
        <translation>The DST thumbnail plug-in was not found.</translation>
    </message>
    <message>
        <source>桌面的文件管理器只能在 /usr 之下运行缩略图程序，而本程序在 %1，登记了也不会生成缩略图。请把 LoomScope 安装到系统（make install，默认装到 /usr/local）后再注册。</source>
        <translation>This desktop&apos;s file manager only runs thumbnail programs under /usr, but this program is in %1, so registering it would not produce any thumbnails. Please install LoomScope on the system (make install, which installs to /usr/local by default) and then register again.</translation>
    </message>
    <message>
        <source>无法删除 %1：%2</source>
        <translation>Cannot delete %1: %2</translation>
    </message>
    <message>
        <source>系统安装的dst缩略图仍然有效：%1</source>
        <translation>The system-wide DST thumbnailer is still active: %1</translation>
    </message>
    <message>
        <source>无法启动 %1：%2</source>
        <translation>Cannot start %1: %2</translation>
    </message>
    <message>
        <source>没找到dst属性页插件</source>
        <translation>The DST properties page plug-in was not found.</translation>
    </message>
    <message>
        <source>没找到emb缩图插件</source>
        <translation>The EMB thumbnail plug-in was not found.</translation>
    </message>
</context>
<context>
    <name>ExportJob</name>
    <message>
        <source>The design &quot;%1&quot; cannot be read.</source>
        <translation>The design &quot;%1&quot; cannot be read.</translation>
    </message>
    <message>
        <source>There is not enough memory for a picture of %1 x %2 pixels.</source>
        <translation>There is not enough memory for a picture of %1 x %2 pixels.</translation>
    </message>
    <message>
        <source>Cannot write &quot;%1&quot;: %2</source>
        <translation>Cannot write &quot;%1&quot;: %2</translation>
    </message>
</context>
<context>
    <name>OffscreenGl</name>
    <message>
        <source>No off-screen OpenGL is available: %1; %2</source>
        <translation>No off-screen OpenGL is available: %1; %2</translation>
    </message>
    <message>
        <source>EGL surfaceless is missing</source>
        <translation>EGL surfaceless is missing</translation>
    </message>
    <message>
        <source>This OpenGL lacks %1, which pictures need</source>
        <translation>This OpenGL lacks %1, which pictures need</translation>
    </message>
    <message>
        <source>A picture of %1 x %2 pixels is larger than this OpenGL can draw (%3)</source>
        <translation>A picture of %1 x %2 pixels is larger than this OpenGL can draw (%3)</translation>
    </message>
    <message>
        <source>The off-screen picture of %1 x %2 pixels could not be made</source>
        <translation>The off-screen picture of %1 x %2 pixels could not be made</translation>
    </message>
</context>
<context>
    <name>PageFiles</name>
    <message>
        <source>Cannot create file &quot;%1&quot;. %2</source>
        <translation>Cannot create file &quot;%1&quot;. %2</translation>
    </message>
    <message>
        <source>The PDF could not be started.</source>
        <translation>The PDF could not be started.</translation>
    </message>
    <message>
        <source>There is no picture to save.</source>
        <translation>There is no picture to save.</translation>
    </message>
    <message>
        <source>Cannot load the picture &quot;%1&quot;: %2</source>
        <translation>Cannot load the picture &quot;%1&quot;: %2</translation>
    </message>
</context>
<context>
    <name>PrintPage</name>
    <message>
        <source>公司：</source>
        <translation>Company: </translation>
    </message>
    <message>
        <source>网址：</source>
        <translation>Website: </translation>
    </message>
    <message>
        <source>Email：</source>
        <translation>Email: </translation>
    </message>
    <message>
        <source>电话：</source>
        <translation>Phone: </translation>
    </message>
    <message>
        <source>Design:</source>
        <translation>Design:</translation>
    </message>
    <message>
        <source>Colors:</source>
        <translation>Colors:</translation>
    </message>
    <message>
        <source>Stitches:</source>
        <translation>Stitches:</translation>
    </message>
    <message>
        <source>Sequins:</source>
        <translation>Sequins:</translation>
    </message>
    <message>
        <source>Scale:</source>
        <translation>Scale:</translation>
    </message>
    <message>
        <source>Size(mm):</source>
        <translation>Size(mm):</translation>
    </message>
    <message>
        <source>Size(inch):</source>
        <translation>Size(inch):</translation>
    </message>
    <message>
        <source>颜色：</source>
        <translation>Colors: </translation>
    </message>
</context>
<context>
    <name>Summary</name>
    <message>
        <source>花样名：</source>
        <translation>Design: </translation>
    </message>
    <message>
        <source>针数：</source>
        <translation>Stitches: </translation>
    </message>
    <message>
        <source>颜色：</source>
        <translation>Colors: </translation>
    </message>
    <message>
        <source>珠片数：</source>
        <translation>Sequins: </translation>
    </message>
    <message>
        <source>尺寸(mm)：</source>
        <translation>Size(mm): </translation>
    </message>
    <message>
        <source>尺寸(inch)：</source>
        <translation>Size(inch): </translation>
    </message>
</context>
<context>
    <name>TForm4</name>
    <message>
        <source>无法启动编辑软件 %1：%2</source>
        <translation>Cannot start the editing program %1: %2</translation>
    </message>
    <message>
        <source>无法读取配置文件 %1：%2</source>
        <translation>Cannot read the settings file %1: %2</translation>
    </message>
    <message>
        <source>无法保存配置文件 %1：%2</source>
        <translation>Cannot save the settings file %1: %2</translation>
    </message>
</context>
<context>
    <name>TForm8</name>
    <message>
        <source>针数：%1 / %2</source>
        <translation>Stitches: %1 / %2</translation>
    </message>
    <message>
        <source>色序：%1 / %2</source>
        <translation>Color: %1 / %2</translation>
    </message>
</context>
<context>
    <name>loomscope::BrowserPane</name>
    <message>
        <source>  文件目录：</source>
        <translation>  Folder: </translation>
    </message>
    <message>
        <source>定位文件</source>
        <translation>Show in folder</translation>
    </message>
    <message>
        <source>针数统计</source>
        <translation>Pricing</translation>
    </message>
    <message>
        <source>大图标</source>
        <translation>Large icons</translation>
    </message>
    <message>
        <source>列表</source>
        <translation>List</translation>
    </message>
    <message>
        <source>版带查找</source>
        <translation>Search</translation>
    </message>
    <message>
        <source>关闭</source>
        <translation>Close</translation>
    </message>
    <message>
        <source>数量：</source>
        <translation>Designs: </translation>
    </message>
    <message>
        <source>总针数：</source>
        <translation>Stitches: </translation>
    </message>
    <message>
        <source>文件目录: </source>
        <translation>Folder: </translation>
    </message>
    <message>
        <source>Cannot start &quot;%1&quot;: %2</source>
        <translation>Cannot start &quot;%1&quot;: %2</translation>
    </message>
    <message>
        <source>Cannot create file &quot;%1&quot;. %2</source>
        <translation>Cannot create file &quot;%1&quot;. %2</translation>
    </message>
</context>
<context>
    <name>loomscope::ColourPanel</name>
    <message>
        <source>Embird色序文件(.edr) (*.edr *.EDR)</source>
        <translation>Embird color sequence files (.edr) (*.edr *.EDR)</translation>
    </message>
    <message>
        <source>颜色</source>
        <translation>Color</translation>
    </message>
    <message>
        <source>色号</source>
        <translation>Code</translation>
    </message>
    <message>
        <source>找色号：</source>
        <translation>Find code: </translation>
    </message>
    <message>
        <source>配对</source>
        <translation>Match</translation>
    </message>
    <message>
        <source>Order the chart by closeness to the picked colour (1)</source>
        <translation>Order the chart by closeness to the picked color (1)</translation>
    </message>
    <message>
        <source>How 配对 measures closeness: RGB, the chart score of the program, or ΔE00, the CIEDE2000 difference people perceive</source>
        <translation>How Match measures closeness: RGB, the chart score of the program, or ΔE00, the CIEDE2000 difference people perceive</translation>
    </message>
    <message>
        <source>屏幕取色：</source>
        <translation>Pick color: </translation>
    </message>
    <message>
        <source>Pick a colour from the screen</source>
        <translation>Pick a color from the screen</translation>
    </message>
    <message>
        <source>取色时隐藏</source>
        <translation>Hide window</translation>
    </message>
    <message>
        <source>Picked colour: double-click puts it into the palette</source>
        <translation>Picked color: double-click puts it into the palette</translation>
    </message>
    <message>
        <source>Chart colour</source>
        <translation>Chart color</translation>
    </message>
    <message>
        <source>Background: double-click to choose its colour</source>
        <translation>Background: double-click to choose its color</translation>
    </message>
    <message>
        <source>保存lsc色序</source>
        <translation>Save .lsc</translation>
    </message>
    <message>
        <source>载入edr色序</source>
        <translation>Load .edr</translation>
    </message>
    <message>
        <source>Cannot open file &quot;%1&quot;. %2</source>
        <translation>Cannot open file &quot;%1&quot;. %2</translation>
    </message>
    <message>
        <source>No design is shown: there is no colour sequence to save.</source>
        <translation>No design is shown: there is no color sequence to save.</translation>
    </message>
    <message>
        <source>文件对应的色序文件已存在，是否替换？</source>
        <translation>A color sequence file for this design already exists. Do you want to replace it?</translation>
    </message>
    <message>
        <source>Another design was opened meanwhile: the colour sequence was not saved.</source>
        <translation>Another design was opened meanwhile: the color sequence was not saved.</translation>
    </message>
    <message>
        <source>Cannot create file &quot;%1&quot;. %2</source>
        <translation>Cannot create file &quot;%1&quot;. %2</translation>
    </message>
    <message>
        <source>色序文件已经保存在DST文档同一文件夹下，重新载入DST档便可</source>
        <translation>The color sequence file has been saved in the same folder as the DST file. Open the DST file again to see the colors.</translation>
    </message>
    <message>
        <source>Stream read error

&quot;%1&quot; holds %2 colours; the design has %3.</source>
        <translation>Stream read error

&quot;%1&quot; holds %2 colors; the design has %3.</translation>
    </message>
</context>
<context>
    <name>loomscope::DesignListModel</name>
    <message>
        <source>Design Name</source>
        <translation>Design Name</translation>
    </message>
    <message>
        <source>Stitches</source>
        <translation>Stitches</translation>
    </message>
    <message>
        <source>Colors</source>
        <translation>Colors</translation>
    </message>
    <message>
        <source>Size(inch)</source>
        <translation>Size(inch)</translation>
    </message>
    <message>
        <source>Size(mm)</source>
        <translation>Size(mm)</translation>
    </message>
    <message>
        <source>Sequins</source>
        <translation>Sequins</translation>
    </message>
</context>
<context>
    <name>loomscope::MainActions</name>
    <message>
        <source>打开版带文件</source>
        <translation>Open design</translation>
    </message>
    <message>
        <source>保存高清仿真图</source>
        <translation>Save high-resolution picture</translation>
    </message>
    <message>
        <source>上一文件(←)</source>
        <translation>Previous design (←)</translation>
    </message>
    <message>
        <source>下一文件(→)</source>
        <translation>Next design (→)</translation>
    </message>
    <message>
        <source>浏览器</source>
        <translation>Browser</translation>
    </message>
    <message>
        <source>放大(+)</source>
        <translation>Zoom in (+)</translation>
    </message>
    <message>
        <source>缩小(-)</source>
        <translation>Zoom out (-)</translation>
    </message>
    <message>
        <source>实际大小(1)</source>
        <translation>Actual size (1)</translation>
    </message>
    <message>
        <source>满屏显示(0)</source>
        <translation>Fit to window (0)</translation>
    </message>
    <message>
        <source>测量(M)</source>
        <translation>Measure (M)</translation>
    </message>
    <message>
        <source>仿真(T)</source>
        <translation>Realistic view (T)</translation>
    </message>
    <message>
        <source>线条</source>
        <translation>Line view</translation>
    </message>
    <message>
        <source>针迹点(.)</source>
        <translation>Stitch points (.)</translation>
    </message>
    <message>
        <source>机器功能</source>
        <translation>Machine codes</translation>
    </message>
    <message>
        <source>慢速显示(shift+R)</source>
        <translation>Stitch-out replay (Shift+R)</translation>
    </message>
    <message>
        <source>布底</source>
        <translation>Fabric</translation>
    </message>
    <message>
        <source>色序</source>
        <translation>Color sequence</translation>
    </message>
    <message>
        <source>屏幕截图</source>
        <translation>Screenshot</translation>
    </message>
    <message>
        <source>打印</source>
        <translation>Print</translation>
    </message>
    <message>
        <source>编辑版带</source>
        <translation>Edit design</translation>
    </message>
</context>
<context>
    <name>loomscope::PictureCommand</name>
    <message>
        <source>JPEG Image File (*.jpg)</source>
        <translation>JPEG Image File (*.jpg)</translation>
    </message>
    <message>
        <source>正在生成高清仿真图，请稍候……</source>
        <translation>Creating the high-resolution picture, please wait…</translation>
    </message>
</context>
<context>
    <name>loomscope::PriceOptionsGroup</name>
    <message>
        <source>统计选项</source>
        <translation>Report options</translation>
    </message>
    <message>
        <source>1.起步针数：</source>
        <translation>1. Base stitch count: </translation>
    </message>
    <message>
        <source>之内  起步额(元)：</source>
        <translation>or fewer  Start fee (yuan): </translation>
    </message>
    <message>
        <source>2.条件一：针数在</source>
        <translation>2. Condition 1: stitches between</translation>
    </message>
    <message>
        <source>  条件二：针数在</source>
        <translation>  Condition 2: stitches between</translation>
    </message>
    <message>
        <source>  条件三：针数在</source>
        <translation>  Condition 3: stitches between</translation>
    </message>
    <message>
        <source>～</source>
        <translation>and</translation>
    </message>
    <message>
        <source>之间单价(厘):</source>
        <translation>Unit price (li):</translation>
    </message>
    <message>
        <source>注：如果全按一个价算就只要条件1，把针数设足够大，
否则针数超过设定值按0计算，如果不同针数按不同价格
就设其它条件；统计结果出来后要记得另存哦，亲。</source>
        <translation>Note: for a single price, use condition 1 only and make its upper count large
enough, as designs above the set counts are priced at 0. For prices that vary
by stitch count, set the other conditions too. Remember to save the results.</translation>
    </message>
    <message>
        <source>隐藏</source>
        <translation>Hide</translation>
    </message>
    <message>
        <source>保存统计结果</source>
        <translation>Save report</translation>
    </message>
    <message>
        <source>列表填充中，完成后可统计</source>
        <translation>The list is still loading; the report can be made once it is complete.</translation>
    </message>
</context>
<context>
    <name>loomscope::RecentDesignList</name>
    <message>
        <source>The list of recent designs cannot be kept in &quot;%1&quot;: %2</source>
        <translation>The list of recent designs cannot be kept in &quot;%1&quot;: %2</translation>
    </message>
    <message>
        <source>（没有最近打开的版带）</source>
        <translation>(No recent designs)</translation>
    </message>
</context>
<context>
    <name>loomscope::ScreenColourPick</name>
    <message>
        <source>No colour can be picked from the screen: the desktop&apos;s colour picker is not available (%1).</source>
        <translation>No color can be picked from the screen: the desktop&apos;s color picker is not available (%1).</translation>
    </message>
    <message>
        <source>No colour can be picked from the screen: the screen could not be copied.</source>
        <translation>No color can be picked from the screen: the screen could not be copied.</translation>
    </message>
</context>
<context>
    <name>loomscope::StartPanel</name>
    <message>
        <source>打开版带：点下方的文件夹按钮，按 Ctrl+O，或把 DST 文件拖到这个窗口里</source>
        <translation>To open a design, click the folder button below, press Ctrl+O, or drag a DST file into this window</translation>
    </message>
    <message>
        <source>最近打开的版带：</source>
        <translation>Recent designs: </translation>
    </message>
</context>
<context>
    <name>loomscope::TForm2</name>
    <message>
        <source>“%1” cannot be shown: %2</source>
        <translation>“%1” cannot be shown: %2</translation>
    </message>
    <message>
        <source>Cannot open file &quot;%1&quot;. %2</source>
        <translation>Cannot open file &quot;%1&quot;. %2</translation>
    </message>
    <message>
        <source>图像已经保存在剪贴板里了，找个地方粘贴一下就行</source>
        <translation>The picture has been copied to the clipboard. You can now paste it wherever you need it.</translation>
    </message>
    <message>
        <source>所有版带</source>
        <translation>All designs</translation>
    </message>
</context>
<context>
    <name>loomscope::TForm3</name>
    <message>
        <source>Loomscope v3.0--打印系统</source>
        <translation>Loomscope v3.0--Print</translation>
    </message>
    <message>
        <source>Cannot open file &quot;%1&quot;. %2</source>
        <translation>Cannot open file &quot;%1&quot;. %2</translation>
    </message>
    <message>
        <source>修改针数</source>
        <translation>Change stitch count</translation>
    </message>
    <message>
        <source>原针数为：%1 请输入新的针数：</source>
        <translation>Original stitch count: %1. Please enter the new stitch count: </translation>
    </message>
    <message>
        <source>数字中包含非法字符，请重新输入</source>
        <translation>The number contains invalid characters. Please enter it again.</translation>
    </message>
    <message>
        <source>Cannot create file &quot;%1&quot;. %2</source>
        <translation>Cannot create file &quot;%1&quot;. %2</translation>
    </message>
    <message>
        <source>保存完毕</source>
        <translation>Saved.</translation>
    </message>
    <message>
        <source>花样选项</source>
        <translation>Design options</translation>
    </message>
    <message>
        <source>显示公司信息</source>
        <translation>Show company info</translation>
    </message>
    <message>
        <source>显示花样信息</source>
        <translation>Show design info</translation>
    </message>
    <message>
        <source>显示颜色</source>
        <translation>Show colors</translation>
    </message>
    <message>
        <source>显示外框</source>
        <translation>Show border</translation>
    </message>
    <message>
        <source>仿真效果(不能打印)</source>
        <translation>Realistic view (not printable)</translation>
    </message>
    <message>
        <source>起针结束点</source>
        <translation>Start/end points</translation>
    </message>
    <message>
        <source>针迹点</source>
        <translation>Stitch points</translation>
    </message>
    <message>
        <source>机器码</source>
        <translation>Machine codes</translation>
    </message>
    <message>
        <source>比例：</source>
        <translation>Scale: </translation>
    </message>
    <message>
        <source>实际尺寸</source>
        <translation>Actual size</translation>
    </message>
    <message>
        <source>适合纸张</source>
        <translation>Fit to page</translation>
    </message>
    <message>
        <source>指定区域</source>
        <translation>Selected area</translation>
    </message>
    <message>
        <source>选择区域</source>
        <translation>Select area</translation>
    </message>
    <message>
        <source>保存设置</source>
        <translation>Save settings</translation>
    </message>
    <message>
        <source>设置</source>
        <translation>Settings</translation>
    </message>
    <message>
        <source>设置公司信息</source>
        <translation>Edit company information</translation>
    </message>
    <message>
        <source>文本描述</source>
        <translation>Description</translation>
    </message>
    <message>
        <source>更新</source>
        <translation>Update</translation>
    </message>
    <message>
        <source>选择位置</source>
        <translation>Place text</translation>
    </message>
    <message>
        <source>改针数</source>
        <translation>Change stitch count</translation>
    </message>
    <message>
        <source>打印</source>
        <translation>Print</translation>
    </message>
    <message>
        <source>保存</source>
        <translation>Save</translation>
    </message>
    <message>
        <source>保存为 PDF</source>
        <translation>Save as PDF</translation>
    </message>
    <message>
        <source>关闭</source>
        <translation>Close</translation>
    </message>
    <message>
        <source>The printer &quot;%1&quot; could not be started.</source>
        <translation>The printer &quot;%1&quot; could not be started.</translation>
    </message>
    <message>
        <source>The page could not be sent to the printer &quot;%1&quot;.</source>
        <translation>The page could not be sent to the printer &quot;%1&quot;.</translation>
    </message>
    <message>
        <source>BMP (*.bmp)</source>
        <translation>BMP (*.bmp)</translation>
    </message>
    <message>
        <source>保存成功</source>
        <translation>Saved.</translation>
    </message>
    <message>
        <source>PDF (*.pdf)</source>
        <translation>PDF (*.pdf)</translation>
    </message>
</context>
<context>
    <name>loomscope::TForm4</name>
    <message>
        <source>未找到编辑软件，请先设置</source>
        <translation>No editing program was found. Please choose one in the settings first.</translation>
    </message>
    <message>
        <source>设置</source>
        <translation>Settings</translation>
    </message>
    <message>
        <source>背景</source>
        <translation>Background</translation>
    </message>
    <message>
        <source>开启布底</source>
        <translation>Use fabric</translation>
    </message>
    <message>
        <source>背景颜色：</source>
        <translation>Background: </translation>
    </message>
    <message>
        <source>布底颜色：</source>
        <translation>Fabric color: </translation>
    </message>
    <message>
        <source>布底名：</source>
        <translation>Fabric name: </translation>
    </message>
    <message>
        <source>珠片</source>
        <translation>Sequins</translation>
    </message>
    <message>
        <source>亮片外径：</source>
        <translation>Diameter: </translation>
    </message>
    <message>
        <source>(默认5mm)</source>
        <translation>(def. 5)</translation>
    </message>
    <message>
        <source>亮片内径：</source>
        <translation>Hole size: </translation>
    </message>
    <message>
        <source>(默认1.5mm)</source>
        <translation>(def. 1.5)</translation>
    </message>
    <message>
        <source>亮片颜色：</source>
        <translation>Color: </translation>
    </message>
    <message>
        <source>保存</source>
        <translation>Save</translation>
    </message>
    <message>
        <source>关闭</source>
        <translation>Close</translation>
    </message>
    <message>
        <source>常规</source>
        <translation>General</translation>
    </message>
    <message>
        <source>关联dst格式</source>
        <translation>Associate DST</translation>
    </message>
    <message>
        <source>注册dst缩略图</source>
        <translation>DST thumbnails</translation>
    </message>
    <message>
        <source>注册dst属性页</source>
        <translation>DST properties</translation>
    </message>
    <message>
        <source>注册emb缩略图</source>
        <translation>EMB thumbnails</translation>
    </message>
    <message>
        <source>卸载dst缩略图</source>
        <translation>Remove</translation>
    </message>
    <message>
        <source>卸载dst属性页</source>
        <translation>Remove</translation>
    </message>
    <message>
        <source>卸载emb缩略图</source>
        <translation>Remove</translation>
    </message>
    <message>
        <source>版带编辑软件：</source>
        <translation>Design editor: </translation>
    </message>
    <message>
        <source>测试</source>
        <translation>Test</translation>
    </message>
    <message>
        <source>无法读取配置文件 %1：%2</source>
        <translation>Cannot read the settings file %1: %2</translation>
    </message>
    <message>
        <source>版带编辑软件</source>
        <translation>Design editor</translation>
    </message>
    <message>
        <source>程序或应用程序 (*)</source>
        <translation>Programs or applications (*)</translation>
    </message>
    <message>
        <source>路径正确</source>
        <translation>The path is correct.</translation>
    </message>
</context>
<context>
    <name>loomscope::TForm5</name>
    <message>
        <source>LoomScope 是一个免费的刺绣花样查看软件：打开 DST 版带，查看针迹或仿真效果，测量、打印、导出高清图片。欢迎提出意见和建议。</source>
        <translation>LoomScope is a free viewer for embroidery designs: open DST designs, view their stitches or a realistic view, measure, print and export high-resolution pictures. Comments and suggestions are welcome.</translation>
    </message>
    <message>
        <source>当前版本：V4.0;</source>
        <translation>Current version: V4.0;</translation>
    </message>
    <message>
        <source>更新新日期：2012-10-1;</source>
        <translation>Last updated: 2012-10-1;</translation>
    </message>
    <message>
        <source>本软件在 Debian 12 / Qt 6 下编译测试；在其他系统上遇到问题，请告诉我们。</source>
        <translation>This program is built and tested on Debian 12 / Qt 6. If you run into problems on other systems, please let us know.</translation>
    </message>
    <message>
        <source>作者：LoomScope 开发组</source>
        <translation>Author: the LoomScope development team</translation>
    </message>
    <message>
        <source>程序：%1，刺绣版带查看软件</source>
        <translation>Program: %1, an embroidery design viewer</translation>
    </message>
    <message>
        <source>问题和建议请告诉为您安装本软件的人。</source>
        <translation>Please send questions and suggestions to the person who installed this program for you.</translation>
    </message>
    <message>
        <source>使用手册：未安装</source>
        <translation>User manual: not installed</translation>
    </message>
    <message>
        <source>使用手册：%1</source>
        <translation>User manual: %1</translation>
    </message>
    <message>
        <source>关闭</source>
        <translation>Close</translation>
    </message>
</context>
<context>
    <name>loomscope::TForm6</name>
    <message>
        <source>布底</source>
        <translation>Fabric</translation>
    </message>
    <message>
        <source>Colors</source>
        <translation>Colors</translation>
    </message>
    <message>
        <source>Fabrics</source>
        <translation>Fabrics</translation>
    </message>
    <message>
        <source>显示布底</source>
        <translation>Show fabric</translation>
    </message>
    <message>
        <source>保存设置</source>
        <translation>Save settings</translation>
    </message>
    <message>
        <source>确定</source>
        <translation>OK</translation>
    </message>
    <message>
        <source>无法读取布底图片 %1：%2</source>
        <translation>Cannot read the fabric picture %1: %2</translation>
    </message>
</context>
<context>
    <name>loomscope::TForm8</name>
    <message>
        <source>走针</source>
        <translation>Stitch-out replay</translation>
    </message>
    <message>
        <source>速度：</source>
        <translation>Speed: </translation>
    </message>
    <message>
        <source>慢</source>
        <translation>Slow</translation>
    </message>
    <message>
        <source>快</source>
        <translation>Fast</translation>
    </message>
    <message>
        <source>针数：</source>
        <translation>Stitches: </translation>
    </message>
    <message>
        <source>颜色：</source>
        <translation>Colors: </translation>
    </message>
    <message>
        <source>针迹点</source>
        <translation>Points</translation>
    </message>
    <message>
        <source>粗线</source>
        <translation>Thick</translation>
    </message>
    <message>
        <source>细线</source>
        <translation>Thin</translation>
    </message>
    <message>
        <source>关闭</source>
        <translation>Close</translation>
    </message>
    <message>
        <source>Cannot open file &quot;%1&quot;. %2</source>
        <translation>Cannot open file &quot;%1&quot;. %2</translation>
    </message>
    <message>
        <source>针数：%1 / %1</source>
        <translation>Stitches: %1 / %1</translation>
    </message>
    <message>
        <source>色序：%1 / %1</source>
        <translation>Color: %1 / %1</translation>
    </message>
</context>
<context>
    <name>loomscope::TForm9</name>
    <message>
        <source>设置公司信息</source>
        <translation>Company information</translation>
    </message>
    <message>
        <source>公司名称：</source>
        <translation>Company name: </translation>
    </message>
    <message>
        <source>网址：</source>
        <translation>Website: </translation>
    </message>
    <message>
        <source>Email：</source>
        <translation>Email: </translation>
    </message>
    <message>
        <source>联系电话：</source>
        <translation>Phone: </translation>
    </message>
    <message>
        <source>公司图标：</source>
        <translation>Company logo: </translation>
    </message>
    <message>
        <source>选择图片 (JPEG, PNG, BMP)</source>
        <translation>Choose a picture (JPEG, PNG, BMP)</translation>
    </message>
    <message>
        <source>50x50像素，自己裁一下</source>
        <translation>50x50 pixels; please crop it yourself</translation>
    </message>
    <message>
        <source>保存</source>
        <translation>Save</translation>
    </message>
    <message>
        <source>关闭</source>
        <translation>Close</translation>
    </message>
    <message>
        <source>公司图标</source>
        <translation>Company logo</translation>
    </message>
    <message>
        <source>图片 (*.jpg *.jpeg *.png *.bmp *.JPG *.JPEG *.PNG *.BMP);;所有文件 (*)</source>
        <translation>Pictures (*.jpg *.jpeg *.png *.bmp *.JPG *.JPEG *.PNG *.BMP);;All files (*)</translation>
    </message>
</context>
<context>
    <name>main</name>
    <message>
        <source>&quot;%1&quot; does not exist or is not a file.</source>
        <translation>&quot;%1&quot; does not exist or is not a file.</translation>
    </message>
</context>
</TS>
