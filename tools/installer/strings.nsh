; The installer's own texts, in English and Simplified Chinese. The pages
; themselves come translated with Modern UI.

LangString SecProgramName ${LANG_ENGLISH} "Orvane Sound"
LangString SecProgramName ${LANG_SIMPCHINESE} "Orvane Sound"
LangString SecProgramDesc ${LANG_ENGLISH} "The control panel in the notification area, its device library and the speaker test sound."
LangString SecProgramDesc ${LANG_SIMPCHINESE} "通知区域中的控制面板、设备库和扬声器测试声音。"
LangString SecToolName ${LANG_ENGLISH} "Command-line tool"
LangString SecToolName ${LANG_SIMPCHINESE} "命令行工具"
LangString SecToolDesc ${LANG_ENGLISH} "corractl.exe, which sets the card from a command prompt or a script."
LangString SecToolDesc ${LANG_SIMPCHINESE} "corractl.exe，可在命令提示符或脚本中设置声卡。"

LangString MsgNotWritable ${LANG_ENGLISH} "Orvane Sound cannot be installed in$\r$\n$\r$\n$0$\r$\n$\r$\nbecause you cannot write to this folder. Orvane Sound keeps its settings and equalizer presets beside the program, so it needs a folder you can write to, such as$\r$\n$\r$\n$LOCALAPPDATA\Programs\Orvane Sound"
LangString MsgNotWritable ${LANG_SIMPCHINESE} "无法将 Orvane Sound 安装到$\r$\n$\r$\n$0$\r$\n$\r$\n因为您无法写入此文件夹。Orvane Sound 将设置和均衡器预设保存在程序旁边，因此需要一个您可以写入的文件夹，例如$\r$\n$\r$\n$LOCALAPPDATA\Programs\Orvane Sound"
LangString MsgStillRunning ${LANG_ENGLISH} "Orvane Sound is still running and did not end when asked to.$\r$\n$\r$\nEnd it from its icon in the notification area (EXIT), then choose Retry. Cancel stops without changing anything."
LangString MsgStillRunning ${LANG_SIMPCHINESE} "Orvane Sound 仍在运行，未能按请求退出。$\r$\n$\r$\n请通过通知区域中的图标退出它（EXIT），然后选择“重试”。选择“取消”将停止且不做任何更改。"
LangString MsgKeepSettings ${LANG_ENGLISH} "Keep your settings and equalizer presets (Orvane Sound.ini) for a later installation?$\r$\n$\r$\nChoose No to remove them as well."
LangString MsgKeepSettings ${LANG_SIMPCHINESE} "是否保留您的设置和均衡器预设（Orvane Sound.ini）以便以后安装时使用？$\r$\n$\r$\n选择“否”将一并删除它们。"
LangString MsgUninstallFailed ${LANG_ENGLISH} "Orvane Sound was not removed: it is still running."
LangString MsgUninstallFailed ${LANG_SIMPCHINESE} "未删除 Orvane Sound：它仍在运行。"
