<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="zh_CN">
<context>
    <name>BeneathFit</name>
    <message>
        <source>Nothing beneath the compass to fit.</source>
        <translation>圆规下方没有可贴合的内容。</translation>
    </message>
    <message>
        <source>No circle beneath the compass.</source>
        <translation>圆规下方没有圆。</translation>
    </message>
    <message>
        <source>Fitted: centre %1, %2 · radius %3 %4</source>
        <extracomment>The hint after a fit: the centre&apos;s x (%1) and y (%2), the radius (%3) and the unit (%4).</extracomment>
        <translation>已贴合：圆心 %1, %2 · 半径 %3 %4</translation>
    </message>
</context>
<context>
    <name>CommandLineOptions</name>
    <message>
        <source>Show this help and exit.</source>
        <translation>显示此帮助并退出。</translation>
    </message>
    <message>
        <source>Show the version and exit.</source>
        <translation>显示版本并退出。</translation>
    </message>
    <message>
        <source>Render one frame to a PNG without a display, print the readout.</source>
        <translation>无需显示器，把一帧绘制为 PNG 并输出读数。</translation>
    </message>
    <message>
        <source>Cut the picture to the compass.</source>
        <translation>把图片裁剪到圆规。</translation>
    </message>
    <message>
        <source>A skin&apos;s definition file instead of the selected skin.</source>
        <translation>用此皮肤定义文件代替所选皮肤。</translation>
    </message>
    <message>
        <source>The beam&apos;s angle in degrees.</source>
        <translation>横梁的角度（度）。</translation>
    </message>
    <message>
        <source>The spread in pixels.</source>
        <translation>张开距离（像素）。</translation>
    </message>
    <message>
        <source>The figure: 0 for a circle, 3 to 39 for a polygon of that many sides.</source>
        <translation>图形：0 为圆，3 到 39 为相应边数的多边形。</translation>
    </message>
    <message>
        <source>0: the polygon around the circle; 1: the polygon inside it.</source>
        <translation>0：多边形外切于圆；1：多边形内接于圆。</translation>
    </message>
    <message>
        <source>The unit, by its place in the list of units.</source>
        <translation>单位，按其在单位列表中的位置。</translation>
    </message>
    <message>
        <source>The drawing quality.</source>
        <translation>绘制质量。</translation>
    </message>
    <message>
        <source>The compass&apos;s position on the desktop.</source>
        <translation>圆规在桌面上的位置。</translation>
    </message>
    <message>
        <source>The desktop&apos;s size in pixels (1920x1080 unless given).</source>
        <translation>桌面大小（像素，默认 1920x1080）。</translation>
    </message>
    <message>
        <source>The monitor&apos;s size in millimetres, for the physical units.</source>
        <translation>显示器大小（毫米），用于物理单位。</translation>
    </message>
    <message>
        <source>Unexpected argument &apos;%1&apos;: expected an option, /m or a skin package (.compassskin).</source>
        <translation>意外的参数“%1”：应为选项、/m 或皮肤包（.compassskin）。</translation>
    </message>
    <message>
        <source>--%1 goes with --render only.</source>
        <translation>--%1 只能与 --render 一起使用。</translation>
    </message>
    <message>
        <source>Start hidden in the notification area.</source>
        <translation>启动时隐藏在通知区域。</translation>
    </message>
    <message>
        <source>Install a skin package and select its skin.</source>
        <translation>安装皮肤包并选用其皮肤。</translation>
    </message>
    <message>
        <source>Started by an automation client: end when the last one leaves.</source>
        <translation>由自动化客户端启动：最后一个客户端离开时结束。</translation>
    </message>
    <message>
        <source>Write the D-Bus activation file and exit.</source>
        <translation>写入 D-Bus 激活文件并退出。</translation>
    </message>
    <message>
        <source>Remove the D-Bus activation file and exit.</source>
        <translation>删除 D-Bus 激活文件并退出。</translation>
    </message>
    <message>
        <source>Usage: orvanta [/m] [PACKAGE.compassskin ...]
       orvanta --render OUT.png [frame options]

A beam compass that floats over the desktop and measures circles and
regular polygons in pixels or calibrated units.
</source>
        <translation>用法：orvanta [/m] [PACKAGE.compassskin ...]
      orvanta --render OUT.png [画面选项]

浮在桌面上的横梁圆规，以像素或校准过的单位测量圆和正多边形。
</translation>
    </message>
    <message>
        <source>Options:</source>
        <translation>选项：</translation>
    </message>
    <message>
        <source>Frame options (with --render):</source>
        <translation>画面选项（与 --render 一起使用）：</translation>
    </message>
    <message>
        <source>Switches and files, as starters and file managers pass them:</source>
        <translation>启动器和文件管理器传入的开关和文件：</translation>
    </message>
    <message>
        <source>Settings are kept in Compass.ini beside the program when it runs from its own
folder, and in $XDG_CONFIG_HOME/Orvanta/ when it is installed (skins then go
to $XDG_DATA_HOME/Orvanta/skins/).
</source>
        <translation>从自己的文件夹运行时，设置保存在程序旁的 Compass.ini 中；安装后保存在
$XDG_CONFIG_HOME/Orvanta/ 中（皮肤则放在 $XDG_DATA_HOME/Orvanta/skins/）。
</translation>
    </message>
    <message>
        <source>Platform: %1</source>
        <translation>平台：%1</translation>
    </message>
    <message>
        <source>no display: DISPLAY is not set, and the compass needs an X server (--render works without one).</source>
        <translation>没有显示器：未设置 DISPLAY，而圆规需要 X 服务器（--render 不需要）。</translation>
    </message>
    <message>
        <source>cannot open the X display %1: the compass needs a running X server (--render works without one).</source>
        <translation>无法打开 X 显示 %1：圆规需要正在运行的 X 服务器（--render 不需要）。</translation>
    </message>
    <message>
        <source>the Qt platform %1 could not start, so the compass cannot be shown (--render works without a display).</source>
        <translation>Qt 平台 %1 无法启动，因此无法显示圆规（--render 不需要显示器）。</translation>
    </message>
    <message>
        <source>The readout: 0 the radius, 1 the circumference, 2 the area, 3 the diameter, 4 the angle.</source>
        <translation>读数：0 半径，1 周长，2 面积，3 直径，4 角度。</translation>
    </message>
</context>
<context>
    <name>CompassMenu</name>
    <message>
        <source>Units</source>
        <translation>单位</translation>
    </message>
    <message>
        <source>Skins</source>
        <translation>皮肤</translation>
    </message>
    <message>
        <source>Skin quality</source>
        <translation>皮肤质量</translation>
    </message>
    <message>
        <source>Shape</source>
        <translation>形状</translation>
    </message>
    <message>
        <source>Options</source>
        <translation>选项</translation>
    </message>
    <message>
        <source>Language</source>
        <translation>语言</translation>
    </message>
    <message>
        <source>Low</source>
        <translation>低</translation>
    </message>
    <message>
        <source>High</source>
        <translation>高</translation>
    </message>
    <message>
        <source>Basic skin</source>
        <translation>基础皮肤</translation>
    </message>
    <message>
        <source>About this skin…</source>
        <translation>关于此皮肤…</translation>
    </message>
    <message>
        <source>Get more skins</source>
        <translation>获取更多皮肤</translation>
    </message>
    <message>
        <source>Always on top</source>
        <translation>总在最上面</translation>
    </message>
    <message>
        <source>Show tooltips</source>
        <translation>显示工具提示</translation>
    </message>
    <message>
        <source>Run at startup</source>
        <translation>开机时运行</translation>
    </message>
    <message>
        <source>Hide splash screen</source>
        <translation>不显示启动画面</translation>
    </message>
    <message>
        <source>Automatic</source>
        <translation>自动</translation>
    </message>
    <message>
        <source>Transparency…</source>
        <translation>透明度…</translation>
    </message>
    <message>
        <source>Magnifier</source>
        <translation>放大镜</translation>
    </message>
    <message>
        <source>Centre on screen</source>
        <translation>移到屏幕中央</translation>
    </message>
    <message>
        <source>Help</source>
        <translation>帮助</translation>
    </message>
    <message>
        <source>Visit website</source>
        <translation>访问网站</translation>
    </message>
    <message>
        <source>Sticky angle</source>
        <translation>粘性角度</translation>
    </message>
    <message>
        <source>Lock angle</source>
        <translation>锁定角度</translation>
    </message>
    <message>
        <source>Lock measurement</source>
        <translation>锁定测量</translation>
    </message>
    <message>
        <source>Exit</source>
        <translation>退出</translation>
    </message>
    <message>
        <source>Show compass</source>
        <translation>显示圆规</translation>
    </message>
    <message>
        <source>Calibrate units…</source>
        <translation>校准单位…</translation>
    </message>
    <message>
        <source>Physical units use each monitor&apos;s size</source>
        <translation>物理单位使用各显示器的尺寸</translation>
    </message>
    <message>
        <source>Calibrate this screen…</source>
        <translation>校准此屏幕…</translation>
    </message>
    <message>
        <source>Fit to what is beneath</source>
        <translation>贴合下方的图形</translation>
    </message>
    <message>
        <source>Copy measurement</source>
        <translation>复制测量值</translation>
    </message>
</context>
<context>
    <name>CompassModel</name>
    <message>
        <source>Compass %1 %2</source>
        <extracomment>The window title and the tray&apos;s tool tip: the readout (%1) and the unit (%2).</extracomment>
        <translation>圆规 %1 %2</translation>
    </message>
    <message>
        <source>r %1 · d %2 · C %3 · A %4 · %5</source>
        <extracomment>Copy measurement: radius, diameter, circumference (a polygon&apos;s perimeter), area, each with its unit, then the beam&apos;s direction.</extracomment>
        <translation>半径 %1 · 直径 %2 · 周长 %3 · 面积 %4 · 方向 %5</translation>
    </message>
</context>
<context>
    <name>Controls</name>
    <message>
        <source>Change the base colour bar (C)</source>
        <translation>更换底座颜色（C）</translation>
    </message>
    <message>
        <source>Show the menu (right click)</source>
        <translation>显示菜单（右键单击）</translation>
    </message>
    <message>
        <source>Turn to the next 45 degrees (F)</source>
        <translation>转到下一个 45 度（F）</translation>
    </message>
    <message>
        <source>Turn to the last 45 degrees (L)</source>
        <translation>转到上一个 45 度（L）</translation>
    </message>
    <message>
        <source>Turn clockwise (Shift + &gt;)</source>
        <translation>顺时针旋转（Shift + &gt;）</translation>
    </message>
    <message>
        <source>Turn anticlockwise (Shift + &lt;)</source>
        <translation>逆时针旋转（Shift + &lt;）</translation>
    </message>
    <message>
        <source>Move inward</source>
        <translation>向内移动</translation>
    </message>
    <message>
        <source>Move outward</source>
        <translation>向外移动</translation>
    </message>
    <message>
        <source>Shorten the distance (Shift + arrow keys)</source>
        <translation>缩短距离（Shift + 方向键）</translation>
    </message>
    <message>
        <source>Lengthen the distance (Shift + arrow keys)</source>
        <translation>延长距离（Shift + 方向键）</translation>
    </message>
    <message>
        <source>Move left (left arrow)</source>
        <translation>左移（左方向键）</translation>
    </message>
    <message>
        <source>Move up (up arrow)</source>
        <translation>上移（上方向键）</translation>
    </message>
    <message>
        <source>Move right (right arrow)</source>
        <translation>右移（右方向键）</translation>
    </message>
    <message>
        <source>Move down (down arrow)</source>
        <translation>下移（下方向键）</translation>
    </message>
    <message>
        <source>Radius measurement - click to change</source>
        <translation>测量半径：单击切换</translation>
    </message>
    <message>
        <source>Circumference measurement - click to change</source>
        <translation>测量周长：单击切换</translation>
    </message>
    <message>
        <source>Area measurement - click to change</source>
        <translation>测量面积：单击切换</translation>
    </message>
    <message>
        <source>Hide the compass to the tray (H)</source>
        <translation>把圆规隐藏到系统托盘（H）</translation>
    </message>
    <message>
        <source>Quit the compass (Q)</source>
        <translation>退出圆规（Q）</translation>
    </message>
    <message>
        <source>Type a number and press Enter to jump to the new distance</source>
        <translation>键入一个数字并按回车键，跳到新的距离</translation>
    </message>
    <message>
        <source>Type +, -, *, or / and a number to calculate</source>
        <translation>键入 +、-、* 或 / 和一个数字进行计算</translation>
    </message>
    <message>
        <source>Diameter measurement - click to change</source>
        <translation>直径测量 - 点击更改</translation>
    </message>
    <message>
        <source>Angle measurement - click to change</source>
        <translation>角度测量 - 点击更改</translation>
    </message>
</context>
<context>
    <name>Dialogs</name>
    <message>
        <source>OK</source>
        <translation>确定</translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation>取消</translation>
    </message>
</context>
<context>
    <name>Errors</name>
    <message>
        <source>&apos;%1&apos; is not a valid floating point value</source>
        <translation>“%1”不是有效的浮点数</translation>
    </message>
    <message>
        <source>&apos;%1&apos; is not a valid integer value</source>
        <translation>“%1”不是有效的整数</translation>
    </message>
    <message>
        <source>Cannot create file &quot;%1&quot;. %2</source>
        <translation>无法创建文件“%1”。%2</translation>
    </message>
    <message>
        <source>&apos;%1&apos; cannot be converted to pixels</source>
        <translation>“%1”无法换算为像素</translation>
    </message>
    <message>
        <source>Cannot move &quot;%1&quot; to &quot;%2&quot;. %3</source>
        <translation>无法将“%1”移动到“%2”。%3</translation>
    </message>
    <message>
        <source>Cannot create a folder in &quot;%1&quot;.</source>
        <translation>无法在“%1”中创建文件夹。</translation>
    </message>
    <message>
        <source>Cannot install into &quot;%1&quot;: it is a symbolic link.</source>
        <translation>无法安装到“%1”：它是一个符号链接。</translation>
    </message>
    <message>
        <source>Cannot install into &quot;%1&quot;: it is a file, not a folder.</source>
        <translation>无法安装到“%1”：它是一个文件，而不是文件夹。</translation>
    </message>
    <message>
        <source>Cannot create folder &quot;%1&quot;.</source>
        <translation>无法创建文件夹“%1”。</translation>
    </message>
    <message>
        <source>Cannot write &quot;%1&quot;. %2</source>
        <translation>无法写入“%1”。%2</translation>
    </message>
    <message>
        <source>Cannot replace the folder &quot;%1&quot; with a file of the package.</source>
        <translation>无法用皮肤包中的文件替换文件夹“%1”。</translation>
    </message>
    <message>
        <source>The package holds an entry with an unsafe name: &quot;%1&quot;.</source>
        <translation>皮肤包中有一个名称不安全的条目：“%1”。</translation>
    </message>
    <message>
        <source>&quot;%1&quot; does not give a usable skin folder name.</source>
        <translation>无法从“%1”得到可用的皮肤文件夹名称。</translation>
    </message>
    <message>
        <source>&quot;%1&quot; unpacks to more than the %2 bytes a package may hold.</source>
        <translation>“%1”解压后超过了皮肤包允许的 %2 字节。</translation>
    </message>
    <message>
        <source>Cannot record the new skin in &quot;%1&quot;.</source>
        <translation>无法在“%1”中记录新皮肤。</translation>
    </message>
    <message>
        <source>ZIP64 archives are not supported.</source>
        <translation>不支持 ZIP64 压缩包。</translation>
    </message>
    <message>
        <source>Cannot open file &quot;%1&quot;. %2</source>
        <translation>无法打开文件“%1”。%2</translation>
    </message>
    <message>
        <source>The archive is larger than the %1 bytes a package may hold.</source>
        <translation>压缩包大于皮肤包允许的 %1 字节。</translation>
    </message>
    <message>
        <source>Cannot read the archive. %1</source>
        <translation>无法读取压缩包。%1</translation>
    </message>
    <message>
        <source>The archive has more than %1 entries.</source>
        <translation>压缩包中的条目多于 %1 个。</translation>
    </message>
    <message>
        <source>Cannot find the size of &quot;%1&quot;: the archive has no central directory entry for it.</source>
        <translation>无法确定“%1”的大小：压缩包的中央目录中没有它的条目。</translation>
    </message>
    <message>
        <source>Index out of range.</source>
        <translation>索引超出范围。</translation>
    </message>
    <message>
        <source>&quot;%1&quot; is encrypted; encrypted packages are not supported.</source>
        <translation>“%1”已加密；不支持加密的皮肤包。</translation>
    </message>
    <message>
        <source>&quot;%1&quot; is too large: %2 bytes, more than the %3 bytes a package may hold.</source>
        <translation>“%1”太大：%2 字节，超过了皮肤包允许的 %3 字节。</translation>
    </message>
    <message>
        <source>&quot;%1&quot; uses compression method %2; only deflate (8) and stored (0) entries are supported.</source>
        <translation>“%1”使用压缩方法 %2；只支持 deflate（8）和存储（0）的条目。</translation>
    </message>
    <message>
        <source>CRC Error in &quot;%1&quot;.</source>
        <translation>“%1”的 CRC 校验错误。</translation>
    </message>
    <message>
        <source>Cannot read the picture &quot;%1&quot;: %2</source>
        <translation>无法读取图片“%1”：%2</translation>
    </message>
    <message>
        <source>it is a folder</source>
        <translation>它是一个文件夹</translation>
    </message>
    <message>
        <source>&quot;%1&quot; is not a skin package: it is not a ZIP archive.</source>
        <translation>“%1”不是皮肤包：它不是 ZIP 压缩文件。</translation>
    </message>
    <message>
        <source>The skin in &quot;%1&quot; cannot be used: %2</source>
        <translation>“%1”中的皮肤无法使用：%2</translation>
    </message>
    <message>
        <source>the file does not exist</source>
        <translation>文件不存在</translation>
    </message>
    <message>
        <source>it names no picture (&quot;Image&quot; in [Horizontal])</source>
        <translation>未指定图片（[Horizontal] 中的“Image”）</translation>
    </message>
    <message>
        <source>the picture &quot;%1&quot; is missing</source>
        <translation>缺少图片“%1”</translation>
    </message>
    <message>
        <source>%1: %2</source>
        <translation>%1：%2</translation>
    </message>
</context>
<context>
    <name>MonitorScale</name>
    <message>
        <source>calibrated</source>
        <translation>已校准</translation>
    </message>
    <message>
        <source>reported by the monitor</source>
        <translation>由显示器报告</translation>
    </message>
    <message>
        <source>assumed 96</source>
        <translation>假定为 96</translation>
    </message>
    <message>
        <source>(unnamed)</source>
        <translation>（未命名）</translation>
    </message>
    <message>
        <source>%1 on monitor %2: %3 px/in, %4</source>
        <translation>%1，显示器 %2：%3 像素/英寸，%4</translation>
    </message>
    <message>
        <source>%1 in device pixels of monitor %2 (%3 px/in, %4)</source>
        <translation>%1，显示器 %2 的设备像素（%3 像素/英寸，%4）</translation>
    </message>
    <message>
        <source>The desktop scales its interface by %1 %: readings are in device pixels, 100 device pixels are %2 logical pixels</source>
        <translation>桌面界面缩放为 %1%：读数为设备像素，100 设备像素等于 %2 逻辑像素</translation>
    </message>
</context>
<context>
    <name>PlatformChoice</name>
    <message>
        <source>the one given with -platform</source>
        <translation>用 -platform 指定的平台</translation>
    </message>
    <message>
        <source>%1 (from QT_QPA_PLATFORM)</source>
        <translation>%1（来自 QT_QPA_PLATFORM）</translation>
    </message>
    <message>
        <source>xcb (X11 through XWayland in a Wayland session; QT_QPA_PLATFORM chooses another)</source>
        <translation>xcb（在 Wayland 会话中通过 XWayland 使用 X11；可用 QT_QPA_PLATFORM 选择其他平台）</translation>
    </message>
    <message>
        <source>xcb (X11)</source>
        <translation>xcb（X11）</translation>
    </message>
</context>
<context>
    <name>ProgramPaths</name>
    <message>
        <source>The program folder &quot;%1&quot; cannot be written. Your options and units are kept in &quot;%2&quot; instead.</source>
        <translation>程序文件夹“%1”不可写入。您的选项和单位改为保存在“%2”中。</translation>
    </message>
</context>
<context>
    <name>RenderCommand</name>
    <message>
        <source>%1: expected %2, got &apos;%3&apos;</source>
        <translation>%1：应为%2，实为“%3”</translation>
    </message>
    <message>
        <source>a number</source>
        <translation>一个数字</translation>
    </message>
    <message>
        <source>a unit index</source>
        <translation>单位的序号</translation>
    </message>
    <message>
        <source>low or high</source>
        <translation>low 或 high</translation>
    </message>
    <message>
        <source>WxH with sides of 1 to 65535 pixels</source>
        <translation>宽x高，每边 1 到 65535 像素</translation>
    </message>
    <message>
        <source>at most 268435456 pixels</source>
        <translation>至多 268435456 像素</translation>
    </message>
    <message>
        <source>WxH in millimetres</source>
        <translation>以毫米计的宽x高</translation>
    </message>
    <message>
        <source>--render: missing the output file</source>
        <translation>--render：缺少输出文件</translation>
    </message>
    <message>
        <source>0 to %1</source>
        <translation>0 到 %1</translation>
    </message>
    <message>
        <source>--screen-mm: %1x%2 mm is not a believable size for %3x%4 pixels; 96 px/in assumed</source>
        <translation>--screen-mm：%1x%2 毫米对 %3x%4 像素不是可信的尺寸，按每英寸 96 像素计算</translation>
    </message>
    <message>
        <source>--render: cannot write &apos;%1&apos;</source>
        <translation>--render：无法写入“%1”</translation>
    </message>
</context>
<context>
    <name>ScreenPixels</name>
    <message>
        <source>The screen cannot be read here (see the log).</source>
        <translation>此处无法读取屏幕（详见日志）。</translation>
    </message>
    <message>
        <source>The desktop offers no screenshot portal: the screen cannot be read.</source>
        <translation>桌面没有提供截图门户：无法读取屏幕。</translation>
    </message>
    <message>
        <source>The screenshot was not allowed.</source>
        <translation>截图未获允许。</translation>
    </message>
    <message>
        <source>The desktop could not take a screenshot.</source>
        <translation>桌面无法截图。</translation>
    </message>
    <message>
        <source>The desktop&apos;s screenshot cannot be read.</source>
        <translation>无法读取桌面的截图。</translation>
    </message>
</context>
<context>
    <name>Shapes</name>
    <message>
        <source>Circle</source>
        <translation>圆形</translation>
    </message>
    <message>
        <source>Triangle</source>
        <translation>三角形</translation>
    </message>
    <message>
        <source>Square</source>
        <translation>正方形</translation>
    </message>
    <message>
        <source>Pentagon</source>
        <translation>五边形</translation>
    </message>
    <message>
        <source>Hexagon</source>
        <translation>六边形</translation>
    </message>
    <message>
        <source>Heptagon</source>
        <translation>七边形</translation>
    </message>
    <message>
        <source>Octagon</source>
        <translation>八边形</translation>
    </message>
    <message>
        <source>Nonagon</source>
        <translation>九边形</translation>
    </message>
    <message>
        <source>10 sides</source>
        <translation>十边形</translation>
    </message>
    <message>
        <source>11 sides</source>
        <translation>十一边形</translation>
    </message>
    <message>
        <source>12 sides</source>
        <translation>十二边形</translation>
    </message>
    <message>
        <source>13 sides</source>
        <translation>十三边形</translation>
    </message>
    <message>
        <source>14 sides</source>
        <translation>十四边形</translation>
    </message>
    <message>
        <source>15 sides</source>
        <translation>十五边形</translation>
    </message>
    <message>
        <source>16 sides</source>
        <translation>十六边形</translation>
    </message>
    <message>
        <source>17 sides</source>
        <translation>十七边形</translation>
    </message>
    <message>
        <source>18 sides</source>
        <translation>十八边形</translation>
    </message>
    <message>
        <source>19 sides</source>
        <translation>十九边形</translation>
    </message>
    <message>
        <source>20 sides</source>
        <translation>二十边形</translation>
    </message>
    <message>
        <source>21 sides</source>
        <translation>二十一边形</translation>
    </message>
    <message>
        <source>22 sides</source>
        <translation>二十二边形</translation>
    </message>
    <message>
        <source>23 sides</source>
        <translation>二十三边形</translation>
    </message>
    <message>
        <source>24 sides</source>
        <translation>二十四边形</translation>
    </message>
    <message>
        <source>25 sides</source>
        <translation>二十五边形</translation>
    </message>
    <message>
        <source>26 sides</source>
        <translation>二十六边形</translation>
    </message>
    <message>
        <source>27 sides</source>
        <translation>二十七边形</translation>
    </message>
    <message>
        <source>28 sides</source>
        <translation>二十八边形</translation>
    </message>
    <message>
        <source>29 sides</source>
        <translation>二十九边形</translation>
    </message>
    <message>
        <source>30 sides</source>
        <translation>三十边形</translation>
    </message>
    <message>
        <source>31 sides</source>
        <translation>三十一边形</translation>
    </message>
    <message>
        <source>32 sides</source>
        <translation>三十二边形</translation>
    </message>
    <message>
        <source>33 sides</source>
        <translation>三十三边形</translation>
    </message>
    <message>
        <source>34 sides</source>
        <translation>三十四边形</translation>
    </message>
    <message>
        <source>35 sides</source>
        <translation>三十五边形</translation>
    </message>
    <message>
        <source>36 sides</source>
        <translation>三十六边形</translation>
    </message>
    <message>
        <source>37 sides</source>
        <translation>三十七边形</translation>
    </message>
    <message>
        <source>38 sides</source>
        <translation>三十八边形</translation>
    </message>
    <message>
        <source>39 sides</source>
        <translation>三十九边形</translation>
    </message>
    <message>
        <source>%1 - %2</source>
        <extracomment>A polygon in the shape menu: its name, then its number of sides.</extracomment>
        <translation>%1 - %2</translation>
    </message>
    <message>
        <source>%1s</source>
        <extracomment>The submenu of the polygons with 10 to 19 (20 to 29, 30 to 39) sides.</extracomment>
        <translation>%1 余边形</translation>
    </message>
    <message>
        <source>Inscribed polygons</source>
        <translation>内接多边形</translation>
    </message>
    <message>
        <source>Circumscribed polygons</source>
        <translation>外切多边形</translation>
    </message>
    <message>
        <source>Circumference</source>
        <translation>周长</translation>
    </message>
    <message>
        <source>Area</source>
        <translation>面积</translation>
    </message>
    <message>
        <source>Radius</source>
        <translation>半径</translation>
    </message>
    <message>
        <source>Diameter</source>
        <translation>直径</translation>
    </message>
    <message>
        <source>Angle</source>
        <translation>角度</translation>
    </message>
</context>
<context>
    <name>Shell</name>
    <message>
        <source>No program on this computer opens this address. You can copy it from here:

%1</source>
        <translation>本机没有能打开这个地址的程序。可以从这里复制它：

%1</translation>
    </message>
</context>
<context>
    <name>Skin</name>
    <message>
        <source>Unnamed</source>
        <translation>未命名</translation>
    </message>
    <message>
        <source>Unknown</source>
        <translation>未知</translation>
    </message>
    <message>
        <source>This skin &quot;%1&quot; was made for compass version %2.</source>
        <translation>此皮肤“%1”是为 %2 版圆规制作的。</translation>
    </message>
    <message>
        <source>Delete this skin or get compass version %1 from %2</source>
        <translation>请删除此皮肤，或从 %2 获取 %1 版圆规</translation>
    </message>
    <message>
        <source>The skin &quot;%1&quot; has a problem it cannot recover from.</source>
        <translation>皮肤“%1”有一个无法恢复的问题。</translation>
    </message>
    <message>
        <source>Please delete this skin to fix this error.</source>
        <translation>请删除此皮肤以修复此错误。</translation>
    </message>
    <message>
        <source>There is a problem with one of the skins.</source>
        <translation>其中一个皮肤有问题。</translation>
    </message>
    <message>
        <source>en</source>
        <extracomment>The language tag of this catalogue (&quot;zh_CN&quot;): a skin&apos;s name, author and description are shown in it when the skin carries them so.</extracomment>
        <translation>zh_CN</translation>
    </message>
    <message>
        <source>%1: it is not in a skins folder.</source>
        <translation>%1：它不在皮肤文件夹中。</translation>
    </message>
    <message>
        <source>The skin chosen in the options cannot be used; the skin &quot;%1&quot; is shown instead.</source>
        <translation>选项中选择的皮肤无法使用，现改为显示皮肤“%1”。</translation>
    </message>
</context>
<context>
    <name>Units</name>
    <message>
        <source>Pixels</source>
        <translation>像素</translation>
    </message>
    <message>
        <source>Inches</source>
        <translation>英寸</translation>
    </message>
    <message>
        <source>Centimetres</source>
        <translation>厘米</translation>
    </message>
    <message>
        <source>Millimetres</source>
        <translation>毫米</translation>
    </message>
    <message>
        <source>Points</source>
        <translation>点</translation>
    </message>
    <message>
        <source>Picas</source>
        <translation>派卡</translation>
    </message>
    <message>
        <source>Custom %1</source>
        <translation>自定义%1</translation>
    </message>
</context>
<context>
    <name>orvanta::AboutSkinDialog</name>
    <message>
        <source>About this skin</source>
        <translation>关于此皮肤</translation>
    </message>
    <message>
        <source>Name:</source>
        <translation>名称：</translation>
    </message>
    <message>
        <source>Author:</source>
        <translation>作者：</translation>
    </message>
    <message>
        <source>Description:</source>
        <translation>描述：</translation>
    </message>
    <message>
        <source>Contact:</source>
        <translation>联系方式：</translation>
    </message>
    <message>
        <source>Web site:</source>
        <translation>网站：</translation>
    </message>
    <message>
        <source>Version:</source>
        <translation>版本：</translation>
    </message>
</context>
<context>
    <name>orvanta::CalibrationDialog</name>
    <message>
        <source>Calibrate this screen</source>
        <translation>校准此屏幕</translation>
    </message>
    <message>
        <source>Monitor %1. Hold a bank card (or any ID card) to the glass and move the outline&apos;s right and bottom edges, with the mouse or the arrow keys, until they match the card. A ruler held to the scale below works too.</source>
        <translation>显示器 %1。将一张银行卡（或任何证件卡）贴在屏幕上，用鼠标或方向键移动轮廓的右边和下边，直到与卡片重合。也可以用直尺对照下方的刻度。</translation>
    </message>
    <message>
        <source>Back to the size the monitor reports, or 96 px/in</source>
        <translation>恢复为显示器报告的尺寸，或 96 像素/英寸</translation>
    </message>
    <message>
        <source>%1: %2 px/in (reported by the monitor: %3)</source>
        <translation>%1：%2 像素/英寸（显示器报告：%3）</translation>
    </message>
    <message>
        <source>%1: %2 px/in (the monitor reports no usable size: %3 assumed)</source>
        <translation>%1：%2 像素/英寸（显示器未报告可用尺寸：假定为 %3）</translation>
    </message>
    <message>
        <source>Horizontal</source>
        <translation>水平</translation>
    </message>
    <message>
        <source>Vertical</source>
        <translation>垂直</translation>
    </message>
    <message>
        <source>Card outline</source>
        <extracomment>Read to a screen reader: the card&apos;s outline that the arrow keys resize.</extracomment>
        <translation>卡片轮廓</translation>
    </message>
    <message>
        <source>Hold a bank card (or any ID card) to the glass and move the outline&apos;s right and bottom edges, with the mouse or the arrow keys, until they match the card. A ruler held to the scale below works too.</source>
        <translation>将一张银行卡（或任何证件卡）贴在屏幕上，用鼠标或方向键移动轮廓的右边和下边，直到与卡片重合。也可以用直尺对照下方的刻度。</translation>
    </message>
</context>
<context>
    <name>orvanta::CompassController</name>
    <message>
        <source>Cannot save the calibration to &quot;%1&quot;. %2</source>
        <translation>无法将校准保存到“%1”。%2</translation>
    </message>
    <message>
        <source>Cannot save the options to &quot;%1&quot;. %2</source>
        <translation>无法将选项保存到“%1”。%2</translation>
    </message>
</context>
<context>
    <name>orvanta::CompassTray</name>
    <message>
        <source>Orvanta is still running</source>
        <translation>Orvanta 仍在运行</translation>
    </message>
    <message>
        <source>To show Orvanta, click this icon</source>
        <translation>要显示 Orvanta，请单击此图标</translation>
    </message>
</context>
<context>
    <name>orvanta::CompassWindow</name>
    <message>
        <source>Compass</source>
        <translation>圆规</translation>
    </message>
</context>
<context>
    <name>orvanta::CustomUnitsDialog</name>
    <message>
        <source>Configure custom units</source>
        <translation>配置自定义单位</translation>
    </message>
    <message>
        <source>Calibrate units</source>
        <translation>校准单位</translation>
    </message>
    <message>
        <source>Calibration help</source>
        <translation>校准帮助</translation>
    </message>
    <message>
        <source>Add unit</source>
        <translation>添加单位</translation>
    </message>
    <message>
        <source>Add a new unit to the list</source>
        <translation>向列表添加新单位</translation>
    </message>
    <message>
        <source>Delete unit</source>
        <translation>删除单位</translation>
    </message>
    <message>
        <source>Delete the selected unit from the list</source>
        <translation>从列表中删除所选单位</translation>
    </message>
    <message>
        <source>Unit name</source>
        <translation>单位名称</translation>
    </message>
    <message>
        <source>Length units</source>
        <translation>长度单位</translation>
    </message>
    <message>
        <source>Custom %1</source>
        <extracomment>The name of a new unit: %1 is a number, one more than the highest so far.</extracomment>
        <translation>自定义%1</translation>
    </message>
    <message>
        <source>The list below holds your units of measurement</source>
        <translation>下面列表中包含您自定义的测量单位</translation>
    </message>
    <message>
        <source>Pixels</source>
        <translation>像素数</translation>
    </message>
    <message>
        <source>Decimals</source>
        <translation>小数位数</translation>
    </message>
    <message>
        <source>Calibrate this screen…</source>
        <translation>校准此屏幕…</translation>
    </message>
    <message>
        <source>Match the physical units to a real card on the monitor under the compass</source>
        <translation>用真实卡片校准圆规所在显示器上的物理单位</translation>
    </message>
    <message>
        <source>Units</source>
        <extracomment>Read to a screen reader: the grid of units.</extracomment>
        <translation>单位</translation>
    </message>
</context>
<context>
    <name>orvanta::HelpWindow</name>
    <message>
        <source>Help</source>
        <translation>帮助</translation>
    </message>
    <message>
        <source>Quick start</source>
        <translation>快速入门</translation>
    </message>
    <message>
        <source>Full description</source>
        <translation>完整说明</translation>
    </message>
    <message>
        <source>en</source>
        <extracomment>Not shown: the folder under help/ that holds the pages in this language.</extracomment>
        <translation>zh_CN</translation>
    </message>
    <message>
        <source>Help pages</source>
        <extracomment>Read to a screen reader: the tabs that choose the help page.</extracomment>
        <translation>帮助页面</translation>
    </message>
</context>
<context>
    <name>orvanta::LoupeWindow</name>
    <message>
        <source>under the compass</source>
        <translation>在圆规下</translation>
    </message>
</context>
<context>
    <name>orvanta::SplashScreen</name>
    <message>
        <source>Version %1</source>
        <translation>版本 %1</translation>
    </message>
    <message>
        <source>Pixel-accurate screen compass</source>
        <translation>像素级精确的屏幕圆规</translation>
    </message>
</context>
<context>
    <name>orvanta::TransparencyDialog</name>
    <message>
        <source>Transparency</source>
        <translation>透明度</translation>
    </message>
    <message>
        <source>Transparency:</source>
        <translation>透明度：</translation>
    </message>
    <message>
        <source>100 is fully opaque; the lower the number, the more of the desktop shows through the compass.</source>
        <translation>100 表示完全不透明；数值越小，透过圆规看到的桌面越多。</translation>
    </message>
    <message>
        <source>Percent</source>
        <extracomment>Read to a screen reader: the number beside the slider.</extracomment>
        <translation>百分比</translation>
    </message>
</context>
</TS>
