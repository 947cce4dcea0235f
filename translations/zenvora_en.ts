<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="en" sourcelanguage="zh_CN">
<context>
    <name>BatchStatus</name>
    <message>
        <source>准备转换……</source>
        <translation>Getting ready…</translation>
    </message>
    <message>
        <source>第 %1/%2 个：%3</source>
        <translation>File %1 of %2: %3</translation>
    </message>
    <message>
        <source>，剩余约 %1</source>
        <translation>, about %1 left</translation>
    </message>
    <message>
        <source>（无法阻止系统休眠）</source>
        <translation> (cannot keep the system awake)</translation>
    </message>
    <message>
        <source>转换完成</source>
        <translation>Conversion finished</translation>
    </message>
    <message>
        <source>%1 个成功，%2 个失败</source>
        <translation>%1 converted, %2 failed</translation>
    </message>
    <message>
        <source>完成：%1</source>
        <translation>Done: %1</translation>
    </message>
    <message>
        <source>转换已停止</source>
        <translation>Conversion stopped</translation>
    </message>
    <message>
        <source>%1 个已完成，%2 个未转换</source>
        <translation>%1 done, %2 not converted</translation>
    </message>
    <message>
        <source>，%1 个失败</source>
        <translation>, %1 failed</translation>
    </message>
    <message>
        <source>已停止：%1</source>
        <translation>Stopped: %1</translation>
    </message>
</context>
<context>
    <name>CliOptions</name>
    <message>
        <source>Output format: 0..%1 or %2 (default %3).</source>
        <translation>Output format: 0..%1 or %2 (default %3).</translation>
    </message>
    <message>
        <source>Frame size WIDTHxHEIGHT, or 原始大小 for the source&apos;s.</source>
        <translation>Frame size WIDTHxHEIGHT, or 原始大小 for the source&apos;s.</translation>
    </message>
    <message>
        <source>Video bitrate in kbit/s.</source>
        <translation>Video bitrate in kbit/s.</translation>
    </message>
    <message>
        <source>Frames per second.</source>
        <translation>Frames per second.</translation>
    </message>
    <message>
        <source>Audio sample rate in Hz.</source>
        <translation>Audio sample rate in Hz.</translation>
    </message>
    <message>
        <source>Audio bitrate in kbit/s.</source>
        <translation>Audio bitrate in kbit/s.</translation>
    </message>
    <message>
        <source>mono or stereo.</source>
        <translation>mono or stereo.</translation>
    </message>
    <message>
        <source>Output folder (default: your videos folder/Zenvora).</source>
        <translation>Output folder (default: your videos folder/Zenvora).</translation>
    </message>
    <message>
        <source>Fail a job whose encoder prints nothing for this many seconds (default 300; 0: wait for ever).</source>
        <translation>Fail a job whose encoder prints nothing for this many seconds (default 300; 0: wait for ever).</translation>
    </message>
    <message>
        <source>Convert up to N files at once (default 1; 0: one for each processor).</source>
        <translation>Convert up to N files at once (default 1; 0: one for each processor).</translation>
    </message>
    <message>
        <source>Convert each file from this time on: [[H:]M:]S, minutes and seconds below 60 (default: its start).</source>
        <translation>Convert each file from this time on: [[H:]M:]S, minutes and seconds below 60 (default: its start).</translation>
    </message>
    <message>
        <source>Convert each file up to this time, later than --from (default: its end).</source>
        <translation>Convert each file up to this time, later than --from (default: its end).</translation>
    </message>
    <message>
        <source>Subtitles burned into the picture: auto (a subtitle file named like the source beside it, else the source&apos;s default or forced track), off, or the subtitle file to burn (default auto).</source>
        <translation>Subtitles burned into the picture: auto (a subtitle file named like the source beside it, else the source&apos;s default or forced track), off, or the subtitle file to burn (default auto).</translation>
    </message>
    <message>
        <source>Sound track to convert: its number, counting from 1, or a language code such as chi or eng (default: the track the source flags as default, else its first).</source>
        <translation>Sound track to convert: its number, counting from 1, or a language code such as chi or eng (default: the track the source flags as default, else its first).</translation>
    </message>
    <message>
        <source>Also convert the files named in LIST, one a line (- for standard input).</source>
        <translation>Also convert the files named in LIST, one a line (- for standard input).</translation>
    </message>
    <message>
        <source>Names in the lists end with a NUL character, as find -print0 writes them.</source>
        <translation>Names in the lists end with a NUL character, as find -print0 writes them.</translation>
    </message>
    <message>
        <source>Language of the messages: zh (Chinese) or en (English) (default: Chinese for a Chinese, C or POSIX locale, else English).</source>
        <translation>Language of the messages: zh (Chinese) or en (English) (default: Chinese for a Chinese, C or POSIX locale, else English).</translation>
    </message>
    <message>
        <source>Show this help.</source>
        <translation>Show this help.</translation>
    </message>
    <message>
        <source>Show the version.</source>
        <translation>Show the version.</translation>
    </message>
    <message>
        <source>Converts media files with the encoders of Zenvora.</source>
        <translation>Converts media files with the encoders of Zenvora.</translation>
    </message>
    <message>
        <source>Files to convert.</source>
        <translation>Files to convert.</translation>
    </message>
    <message>
        <source>The stall timeout must be a number of seconds from 0 to 604800 (a week): </source>
        <translation>The stall timeout must be a number of seconds from 0 to 604800 (a week): </translation>
    </message>
    <message>
        <source>The number of jobs must be a whole number from 0 to 1024: </source>
        <translation>The number of jobs must be a whole number from 0 to 1024: </translation>
    </message>
    <message>
        <source>A time must be [[H:]M:]S: </source>
        <translation>A time must be [[H:]M:]S: </translation>
    </message>
    <message>
        <source>Minutes must be less than 60: </source>
        <translation>Minutes must be less than 60: </translation>
    </message>
    <message>
        <source>Seconds must be less than 60: </source>
        <translation>Seconds must be less than 60: </translation>
    </message>
    <message>
        <source>The time is too far: </source>
        <translation>The time is too far: </translation>
    </message>
    <message>
        <source>--to must be later than --from: </source>
        <translation>--to must be later than --from: </translation>
    </message>
    <message>
        <source>--subtitles must be auto, off or a readable subtitle file: </source>
        <translation>--subtitles must be auto, off or a readable subtitle file: </translation>
    </message>
    <message>
        <source> does not exist</source>
        <translation> does not exist</translation>
    </message>
    <message>
        <source> is not a file</source>
        <translation> is not a file</translation>
    </message>
    <message>
        <source> cannot be read: </source>
        <translation> cannot be read: </translation>
    </message>
    <message>
        <source>--audio-track must be a track number from 1 or a language code of 2 or 3 letters such as chi or eng: </source>
        <translation>--audio-track must be a track number from 1 or a language code of 2 or 3 letters such as chi or eng: </translation>
    </message>
    <message>
        <source>Cannot read the file list %1: %2</source>
        <translation>Cannot read the file list %1: %2</translation>
    </message>
    <message>
        <source>on standard input</source>
        <translation>on standard input</translation>
    </message>
    <message>
        <source>-0 (--null) applies to the lists of --files-from, and none is given.</source>
        <translation>-0 (--null) applies to the lists of --files-from, and none is given.</translation>
    </message>
    <message>
        <source>No file to convert.</source>
        <translation>No file to convert.</translation>
    </message>
    <message>
        <source>--lang must be zh or en: </source>
        <translation>--lang must be zh or en: </translation>
    </message>
    <message>
        <source>Unknown format: </source>
        <translation>Unknown format: </translation>
    </message>
    <message>
        <source>Channels must be mono or stereo: </source>
        <translation>Channels must be mono or stereo: </translation>
    </message>
    <message>
        <source>Let the machine sleep while converting.</source>
        <translation>Let the machine sleep while converting.</translation>
    </message>
    <message>
        <source>%1 uses %2</source>
        <translation>%1 uses %2</translation>
    </message>
    <message>
        <source>the output keeps the source&apos;s</source>
        <translation>the output keeps the source&apos;s</translation>
    </message>
    <message>
        <source>the encoder picks it for the quality</source>
        <translation>the encoder picks it for the quality</translation>
    </message>
    <message>
        <source>%1 has no picture</source>
        <translation>%1 has no picture</translation>
    </message>
    <message>
        <source>%1 is not used by %2%3; it is ignored (%4).</source>
        <translation>%1 is not used by %2%3; it is ignored (%4).</translation>
    </message>
    <message>
        <source> at the source&apos;s size</source>
        <translation> at the source&apos;s size</translation>
    </message>
    <message>
        <source>WIDTHxHEIGHT in positive whole numbers, or 原始大小</source>
        <translation>WIDTHxHEIGHT in positive whole numbers, or 原始大小</translation>
    </message>
    <message>
        <source>a positive number of kbit/s, or 自动(按质量) where the format takes it</source>
        <translation>a positive number of kbit/s, or 自动(按质量) where the format takes it</translation>
    </message>
    <message>
        <source>a positive number of frames per second, such as 25, 29.97 or 30000/1001, or 原始帧率 where the format takes it</source>
        <translation>a positive number of frames per second, such as 25, 29.97 or 30000/1001, or 原始帧率 where the format takes it</translation>
    </message>
    <message>
        <source>a positive whole number of Hz</source>
        <translation>a positive whole number of Hz</translation>
    </message>
    <message>
        <source>a positive number of kbit/s, such as 64 or 12.2</source>
        <translation>a positive number of kbit/s, such as 64 or 12.2</translation>
    </message>
    <message>
        <source>%1 %2 is not taken by %3</source>
        <translation>%1 %2 is not taken by %3</translation>
    </message>
    <message>
        <source>%1 must be %2, not &quot;%3&quot;</source>
        <translation>%1 must be %2, not &quot;%3&quot;</translation>
    </message>
    <message>
        <source>%1 %2 becomes %3 for %4: the nearest value %5 takes.</source>
        <translation>%1 %2 becomes %3 for %4: the nearest value %5 takes.</translation>
    </message>
</context>
<context>
    <name>CliSession</name>
    <message>
        <source>%1 stopped: no output for %2 s</source>
        <translation>%1 stopped: no output for %2 s</translation>
    </message>
    <message>
        <source>%1/%2 done, about %3 left</source>
        <translation>%1/%2 done, about %3 left</translation>
    </message>
    <message>
        <source>The encoder could not be started; nothing more was converted.</source>
        <translation>The encoder could not be started; nothing more was converted.</translation>
    </message>
    <message>
        <source>%1 converted, %2 failed.</source>
        <translation>%1 converted, %2 failed.</translation>
    </message>
    <message>
        <source>失败：</source>
        <translation>failed: </translation>
    </message>
</context>
<context>
    <name>ConversionCombos</name>
    <message>
        <source>原始大小</source>
        <translation>Source size</translation>
    </message>
    <message>
        <source>自动(按质量)</source>
        <translation>By quality</translation>
    </message>
    <message>
        <source>原始帧率</source>
        <translation>Source rate</translation>
    </message>
    <message>
        <source>单声道</source>
        <translation>Mono</translation>
    </message>
    <message>
        <source>双声道</source>
        <translation>Stereo</translation>
    </message>
    <message>
        <source>Output Format</source>
        <translation>Output Format</translation>
    </message>
    <message>
        <source>Size</source>
        <translation>Size</translation>
    </message>
    <message>
        <source>Video Bitrate</source>
        <translation>Video Bitrate</translation>
    </message>
    <message>
        <source>Frame Rate</source>
        <translation>Frame Rate</translation>
    </message>
    <message>
        <source>Audio Rate</source>
        <translation>Audio Rate</translation>
    </message>
    <message>
        <source>Audio Bitrate</source>
        <translation>Audio Bitrate</translation>
    </message>
    <message>
        <source>Channel(Stereo or Mono)</source>
        <translation>Channel(Stereo or Mono)</translation>
    </message>
    <message>
        <source>RMVB(RealPlayerRMVB)</source>
        <translation>RMVB (RealPlayer RMVB)</translation>
    </message>
    <message>
        <source>RM(RealPlayerRM)</source>
        <translation>RM (RealPlayer RM)</translation>
    </message>
    <message>
        <source>MPG(MPEG2)</source>
        <translation>MPG (MPEG-2)</translation>
    </message>
    <message>
        <source>AVI(Windows Media Player格式)</source>
        <translation>AVI (Windows Media Player)</translation>
    </message>
    <message>
        <source>MP4(高清MPEG4格式)</source>
        <translation>MP4 (HD MPEG-4)</translation>
    </message>
    <message>
        <source>MOV(QuickTime格式)</source>
        <translation>MOV (QuickTime)</translation>
    </message>
    <message>
        <source>MP4(手机MP4格式)</source>
        <translation>MP4 (phone MP4)</translation>
    </message>
    <message>
        <source>3GP(手机3GP格式)</source>
        <translation>3GP (phone 3GP)</translation>
    </message>
    <message>
        <source>MP3(纯音频格式)</source>
        <translation>MP3 (audio only)</translation>
    </message>
    <message>
        <source>MP4(H.264 通用格式)</source>
        <translation>MP4 (H.264, plays anywhere)</translation>
    </message>
    <message>
        <source>MP4(H.265 高压缩)</source>
        <translation>MP4 (H.265, smaller files)</translation>
    </message>
    <message>
        <source>WebM(VP9 网页格式)</source>
        <translation>WebM (VP9, for the web)</translation>
    </message>
</context>
<context>
    <name>FailureMessage</name>
    <message>
        <source>以下文件没有转换成功</source>
        <translation>This file was not converted</translation>
    </message>
    <message>
        <source>以下 %1 个文件没有转换成功</source>
        <translation>These %1 files were not converted</translation>
    </message>
    <message>
        <source>转换失败</source>
        <translation>Conversion failed</translation>
    </message>
    <message>
        <source>已停止</source>
        <translation>Stopped</translation>
    </message>
    <message>
        <source>Done.</source>
        <translation>Done.</translation>
    </message>
    <message>
        <source>
……还有 %1 个文件。</source>
        <translation>
… and %1 more.</translation>
    </message>
    <message numerus="yes">
        <source>，其他 %1 个文件已完成</source>
        <translation>
            <numerusform>; the other file was converted</numerusform>
            <numerusform>; the other %1 files were converted</numerusform>
        </translation>
    </message>
    <message>
        <source>：
</source>
        <translation>:
</translation>
    </message>
    <message>
        <source>完成，%1 个文件失败</source>
        <translation>Done. %1 failed</translation>
    </message>
</context>
<context>
    <name>FailureWords</name>
    <message>
        <source>失败</source>
        <translation>Failed</translation>
    </message>
    <message>
        <source>无法创建输出文件夹：</source>
        <translation>Cannot create the output folder: </translation>
    </message>
    <message>
        <source>无法创建输出文件夹，请选择一个可以写入的文件夹</source>
        <translation>The output folder cannot be created; please choose a folder you can write to</translation>
    </message>
    <message>
        <source>无法创建临时文件夹：</source>
        <translation>Cannot create the working folder: </translation>
    </message>
    <message>
        <source>无法创建临时文件夹，请检查磁盘空间和权限</source>
        <translation>The working folder cannot be created; please check the disk space and permissions</translation>
    </message>
    <message>
        <source>无法打开这个文件名：</source>
        <translation>Cannot open a file of this name: </translation>
    </message>
    <message>
        <source>无法打开这个文件名</source>
        <translation>A file of this name cannot be opened</translation>
    </message>
    <message>
        <source>磁盘已满</source>
        <translation>The disk is full</translation>
    </message>
    <message>
        <source>磁盘已满，请腾出空间后再试</source>
        <translation>The disk is full; please free some space and try again</translation>
    </message>
    <message>
        <source>没有权限写入输出文件夹</source>
        <translation>No permission to write to the output folder</translation>
    </message>
    <message>
        <source>没有权限写入输出文件夹，请选择一个可以写入的文件夹</source>
        <translation>No permission to write to the output folder; please choose a folder you can write to</translation>
    </message>
    <message>
        <source>文件不存在</source>
        <translation>The file does not exist</translation>
    </message>
    <message>
        <source>这个文件不存在，它可能已被移动或删除</source>
        <translation>This file does not exist; it may have been moved or deleted</translation>
    </message>
    <message>
        <source>文件无法读取</source>
        <translation>The file cannot be read</translation>
    </message>
    <message>
        <source>无法读取这个文件，请检查它的权限</source>
        <translation>This file cannot be read; please check its permissions</translation>
    </message>
    <message>
        <source>不是音视频文件，或文件已损坏</source>
        <translation>Not a video or audio file, or a damaged one</translation>
    </message>
    <message>
        <source>这不是音视频文件，或文件已损坏</source>
        <translation>This is not a video or audio file, or it is damaged</translation>
    </message>
    <message>
        <source>文件中没有视频</source>
        <translation>The file has no video</translation>
    </message>
    <message>
        <source>这个文件只有声音，没有视频，请选择 MP3 格式</source>
        <translation>This file has sound but no video; please choose MP3</translation>
    </message>
    <message>
        <source>文件中没有声音</source>
        <translation>The file has no sound</translation>
    </message>
    <message>
        <source>这个文件没有声音，不能转换为 MP3</source>
        <translation>This file has no sound, so it cannot become an MP3</translation>
    </message>
    <message>
        <source>剪辑的开始时间超过了文件的长度</source>
        <translation>The cut starts past the end of the file</translation>
    </message>
    <message>
        <source>Music Cutter 的开始时间超过了这个文件的长度</source>
        <translation>The Music Cutter&apos;s start time is past the end of this file</translation>
    </message>
    <message>
        <source>字幕文件无法读取，或其中没有字幕</source>
        <translation>The subtitle file cannot be read or holds no subtitles</translation>
    </message>
    <message>
        <source>找不到 ffmpeg</source>
        <translation>ffmpeg cannot be found</translation>
    </message>
    <message>
        <source>找不到 ffmpeg，请安装 ffmpeg 后再试</source>
        <translation>ffmpeg cannot be found; please install ffmpeg and try again</translation>
    </message>
    <message>
        <source>%1 没有生成输出文件</source>
        <translation>%1 made no output file</translation>
    </message>
    <message>
        <source>转换结束，但没有得到输出文件</source>
        <translation>The conversion ended without an output file</translation>
    </message>
    <message>
        <source>%1 异常终止（信号 %2）</source>
        <translation>%1 ended abnormally (signal %2)</translation>
    </message>
    <message>
        <source>转换程序意外中止</source>
        <translation>The encoder stopped unexpectedly</translation>
    </message>
    <message>
        <source>%1 失败（退出码 %2）</source>
        <translation>%1 failed (exit code %2)</translation>
    </message>
    <message>
        <source>无法转换这个文件：它可能已损坏，或含有不能转换的内容</source>
        <translation>This file cannot be converted: it may be damaged or hold content that cannot be converted</translation>
    </message>
    <message>
        <source>%1 已停止：%2 秒没有任何输出</source>
        <translation>%1 was stopped: no output for %2 s</translation>
    </message>
    <message>
        <source>%1 秒没有任何输出，转换已被停止</source>
        <translation>No output for %1 s; the conversion was stopped</translation>
    </message>
    <message>
        <source>转换程序无法启动，请重新安装本程序</source>
        <translation>The encoder could not be started; please reinstall Zenvora</translation>
    </message>
    <message>
        <source>Command Line empty</source>
        <translation>Command Line empty</translation>
    </message>
    <message>
        <source>File or command not found</source>
        <translation>File or command not found</translation>
    </message>
    <message>
        <source>An encoder is still running</source>
        <translation>An encoder is still running</translation>
    </message>
</context>
<context>
    <name>FeedbackSender</name>
    <message>
        <source>这个版本不能在线发送反馈，请通过我们的网站联系我们。</source>
        <translation>This version cannot send feedback online; please contact us through our website.</translation>
    </message>
    <message>
        <source>反馈服务器回答了 HTTP %1。</source>
        <translation>The feedback server answered HTTP %1.</translation>
    </message>
    <message>
        <source>反馈服务器 %1 拒绝了连接。</source>
        <translation>The feedback server %1 refused the connection.</translation>
    </message>
    <message>
        <source>找不到反馈服务器 %1。</source>
        <translation>The feedback server %1 cannot be found.</translation>
    </message>
    <message>
        <source>反馈服务器 %1 秒内没有回应。</source>
        <translation>The feedback server did not answer within %1 s.</translation>
    </message>
    <message>
        <source>网络错误：%1</source>
        <translation>Network error: %1</translation>
    </message>
</context>
<context>
    <name>FileIntake</name>
    <message>
        <source>Open Files</source>
        <translation>Open Files</translation>
    </message>
    <message>
        <source>音视频文件</source>
        <translation>Video and audio files</translation>
    </message>
    <message>
        <source>所有文件(*.*)</source>
        <translation>All files (*.*)</translation>
    </message>
</context>
<context>
    <name>FolderIntake</name>
    <message>
        <source>选择一个文件夹:</source>
        <translation>Choose a folder:</translation>
    </message>
    <message>
        <source>拖拽文件到这里开始转换</source>
        <translation>Drop files here to convert</translation>
    </message>
    <message>
        <source>搜索文件...</source>
        <translation>Searching for files...</translation>
    </message>
</context>
<context>
    <name>HelpWindow</name>
    <message>
        <source>Zenvora 帮助</source>
        <translation>Zenvora Help</translation>
    </message>
</context>
<context>
    <name>JobListModel</name>
    <message>
        <source>文件名</source>
        <translation>File name</translation>
    </message>
    <message>
        <source>格式</source>
        <translation>Format</translation>
    </message>
</context>
<context>
    <name>JobListView</name>
    <message>
        <source>移除</source>
        <translation>Remove</translation>
    </message>
    <message>
        <source>打开所在文件夹</source>
        <translation>Open Containing Folder</translation>
    </message>
</context>
<context>
    <name>MainActions</name>
    <message>
        <source>添加文件(&amp;A)</source>
        <translation>&amp;Add a File</translation>
    </message>
    <message>
        <source>添加目录(&amp;F)</source>
        <translation>Add a &amp;Folder</translation>
    </message>
    <message>
        <source>移除文件</source>
        <translation>Remove</translation>
    </message>
    <message>
        <source>设置(&amp;O)</source>
        <translation>&amp;Options</translation>
    </message>
    <message>
        <source>帮助(&amp;H)</source>
        <translation>&amp;Help</translation>
    </message>
    <message>
        <source>退出(&amp;E)</source>
        <translation>&amp;Exit</translation>
    </message>
    <message>
        <source>关于(&amp;A)</source>
        <translation>&amp;About</translation>
    </message>
    <message>
        <source>移除选择项</source>
        <translation>Remove Selected</translation>
    </message>
    <message>
        <source>移除全部</source>
        <translation>Remove All</translation>
    </message>
    <message>
        <source>立刻开始转换！</source>
        <translation>Start Converting!</translation>
    </message>
    <message>
        <source>添加文件</source>
        <translation>Add File</translation>
    </message>
    <message>
        <source>Add a File</source>
        <translation>Add a File</translation>
    </message>
    <message>
        <source>添加文件夹</source>
        <translation>Add Folder</translation>
    </message>
    <message>
        <source>Add Files from a Folder</source>
        <translation>Add Files from a Folder</translation>
    </message>
    <message>
        <source>Remove File(s) from List</source>
        <translation>Remove File(s) from List</translation>
    </message>
    <message>
        <source>提示设置</source>
        <translation>Options</translation>
    </message>
    <message>
        <source>Options</source>
        <translation>Options</translation>
    </message>
    <message>
        <source>退出程序</source>
        <translation>Exit</translation>
    </message>
    <message>
        <source>Exit</source>
        <translation>Exit</translation>
    </message>
</context>
<context>
    <name>MainController</name>
    <message>
        <source>无法打开输出文件夹：</source>
        <translation>Cannot open the output folder: </translation>
    </message>
    <message>
        <source>无法打开文件所在的文件夹：</source>
        <translation>Cannot open the file&apos;s folder: </translation>
    </message>
    <message>
        <source>无法打开网页，请在浏览器中打开：</source>
        <translation>The web page cannot be opened; please open it in a browser: </translation>
    </message>
    <message>
        <source>无法保存设置，下次启动时将使用原来的设置：</source>
        <translation>The settings cannot be saved; the next start will use the previous ones: </translation>
    </message>
    <message>
        <source>打开文件夹</source>
        <translation>Open folder</translation>
    </message>
</context>
<context>
    <name>OutputFolderChooser</name>
    <message>
        <source>请选择一个文件夹:</source>
        <translation>Please choose a folder:</translation>
    </message>
    <message>
        <source>Select a Folder to Output</source>
        <translation>Select a Folder to Output</translation>
    </message>
    <message>
        <source>Select an Output Folder</source>
        <translation>Select an Output Folder</translation>
    </message>
</context>
<context>
    <name>ParameterPanel</name>
    <message>
        <source>输出格式：</source>
        <translation>Output format:</translation>
    </message>
    <message>
        <source>视频比特率：</source>
        <translation>Video bitrate:</translation>
    </message>
    <message>
        <source>帧率：</source>
        <translation>Frame rate:</translation>
    </message>
    <message>
        <source>视频尺寸：</source>
        <translation>Video size:</translation>
    </message>
    <message>
        <source>声音频率：</source>
        <translation>Sample rate:</translation>
    </message>
    <message>
        <source>声音比特率：</source>
        <translation>Audio bitrate:</translation>
    </message>
    <message>
        <source>声道：</source>
        <translation>Channels:</translation>
    </message>
    <message>
        <source>输出路径：</source>
        <translation>Output folder:</translation>
    </message>
    <message>
        <source>浏览</source>
        <translation>Browse</translation>
    </message>
</context>
<context>
    <name>ParameterView</name>
    <message>
        <source>视频尺寸</source>
        <translation>video size</translation>
    </message>
    <message>
        <source>视频比特率</source>
        <translation>video bitrate</translation>
    </message>
    <message>
        <source>帧率</source>
        <translation>frame rate</translation>
    </message>
    <message>
        <source>声音频率</source>
        <translation>sample rate</translation>
    </message>
    <message>
        <source>声音比特率</source>
        <translation>audio bitrate</translation>
    </message>
    <message>
        <source>声道</source>
        <translation>channels</translation>
    </message>
    <message>
        <source>此格式的%1固定为%2%3</source>
        <translation>This format&apos;s %1 is always %3%2</translation>
    </message>
    <message>
        <source>此格式的%1跟随源文件</source>
        <translation>This format&apos;s %1 follows the source file</translation>
    </message>
    <message>
        <source>此格式的%1由编码器按画质决定</source>
        <translation>This format&apos;s %1 is set by the encoder for the quality</translation>
    </message>
    <message>
        <source>此格式只有声音，不用%1</source>
        <translation>This format has sound only and no %1</translation>
    </message>
    <message>
        <source>；选择其他视频尺寸后可以设置</source>
        <translation>; it can be set after choosing another video size</translation>
    </message>
</context>
<context>
    <name>ProgressText</name>
    <message>
        <source>结束 100%</source>
        <translation>Finished 100%</translation>
    </message>
    <message>
        <source>完成 100%</source>
        <translation>Done 100%</translation>
    </message>
    <message>
        <source>转换中</source>
        <translation>Converting</translation>
    </message>
    <message>
        <source>创建中</source>
        <translation>Creating</translation>
    </message>
    <message>
        <source> 已转换 %1:%2</source>
        <translation> converted %1:%2</translation>
    </message>
</context>
<context>
    <name>QueueStore</name>
    <message numerus="yes">
        <source>上次有 %1 个文件没有转换，是否恢复？</source>
        <translation>
            <numerusform>%1 file was not converted last time. Restore it?</numerusform>
            <numerusform>%1 files were not converted last time. Restore them?</numerusform>
        </translation>
    </message>
</context>
<context>
    <name>SystemDesktop</name>
    <message>
        <source>正在转换视频</source>
        <translation>Converting videos</translation>
    </message>
</context>
<context>
    <name>WindowOptions</name>
    <message>
        <source>Show the version.</source>
        <translation>Show the version.</translation>
    </message>
    <message>
        <source>Show this help.</source>
        <translation>Show this help.</translation>
    </message>
    <message>
        <source>Language of the window: zh (Chinese) or en (English) (default: Chinese for a Chinese, C or POSIX locale, else English).</source>
        <translation>Language of the window: zh (Chinese) or en (English) (default: Chinese for a Chinese, C or POSIX locale, else English).</translation>
    </message>
    <message>
        <source>Converts video and audio files in batches. Files and folders given here are queued; when Zenvora already runs, they go to its window.</source>
        <translation>Converts video and audio files in batches. Files and folders given here are queued; when Zenvora already runs, they go to its window.</translation>
    </message>
    <message>
        <source>Files, and folders to queue all files of.</source>
        <translation>Files, and folders to queue all files of.</translation>
    </message>
    <message>
        <source>--lang must be zh or en: </source>
        <translation>--lang must be zh or en: </translation>
    </message>
</context>
<context>
    <name>frmMain</name>
    <message>
        <source>Exit</source>
        <translation>Exit</translation>
    </message>
    <message>
        <source>Help &amp; Tutorial</source>
        <translation>Help &amp; Tutorial</translation>
    </message>
    <message>
        <source>Minimize Window</source>
        <translation>Minimize Window</translation>
    </message>
    <message>
        <source>意见反馈</source>
        <translation>Feedback</translation>
    </message>
    <message>
        <source>Send us your suggestion or question</source>
        <translation>Send us your suggestion or question</translation>
    </message>
    <message>
        <source>恢复</source>
        <translation>Restore</translation>
    </message>
    <message>
        <source>找不到帮助文件：</source>
        <translation>The help file cannot be found: </translation>
    </message>
    <message>
        <source>帮助</source>
        <translation>Help</translation>
    </message>
    <message>
        <source>Zenvora %1，Velmora 出品，2008</source>
        <translation>Zenvora %1, by Velmora, 2008</translation>
    </message>
    <message>
        <source>版权所有，保留一切权利。</source>
        <translation>Copyright, all rights reserved.</translation>
    </message>
    <message>
        <source>停止转换？正在转换的文件将被放弃，未转换的文件留在列表中。</source>
        <translation>Stop converting? The files being converted are given up; the files not yet converted stay in the list.</translation>
    </message>
    <message>
        <source>停止转换</source>
        <translation>Stop</translation>
    </message>
    <message>
        <source>请先添加一个文件</source>
        <translation>Please add a file first</translation>
    </message>
    <message>
        <source>添加</source>
        <translation>Add</translation>
    </message>
    <message>
        <source>立刻开始转换！</source>
        <translation>Start Converting!</translation>
    </message>
    <message>
        <source>正在转换。退出将停止转换，正在转换的文件将被放弃，未转换的文件下次启动时可以恢复。确定退出？</source>
        <translation>Converting. Exiting stops the conversion: the files being converted are given up, and the files not yet converted can be restored at the next start. Exit?</translation>
    </message>
    <message>
        <source>退出</source>
        <translation>Exit</translation>
    </message>
</context>
<context>
    <name>frmMenu</name>
    <message>
        <source>文件</source>
        <translation>File</translation>
    </message>
    <message>
        <source>选项</source>
        <translation>Options</translation>
    </message>
    <message>
        <source>关于</source>
        <translation>About</translation>
    </message>
    <message>
        <source>Remove</source>
        <translation>Remove</translation>
    </message>
</context>
<context>
    <name>frmOptions</name>
    <message>
        <source>选项设置</source>
        <translation>Options</translation>
    </message>
    <message>
        <source>转换完毕声音提示</source>
        <translation>Sound when done</translation>
    </message>
    <message>
        <source>ON</source>
        <translation>ON</translation>
    </message>
    <message>
        <source>OFF</source>
        <translation>OFF</translation>
    </message>
    <message>
        <source>同时转换</source>
        <translation>Convert</translation>
    </message>
    <message>
        <source>个文件</source>
        <translation>files at once</translation>
    </message>
    <message>
        <source>字幕</source>
        <translation>Subtitles</translation>
    </message>
    <message>
        <source>自动</source>
        <translation>Auto</translation>
    </message>
    <message>
        <source>关闭</source>
        <translation>Off</translation>
    </message>
    <message>
        <source>自动：把与视频同名的字幕文件（没有时用视频自带的默认字幕）烧录进画面；关闭：不加字幕</source>
        <translation>Auto: burns the subtitle file named like the video (else the video&apos;s own default subtitles) into the picture; Off: no subtitles</translation>
    </message>
    <message>
        <source>确定</source>
        <translation>OK</translation>
    </message>
    <message>
        <source>返回</source>
        <translation>Cancel</translation>
    </message>
    <message>
        <source>Music Cutter</source>
        <translation>Music Cutter</translation>
    </message>
    <message>
        <source>开始</source>
        <translation>From</translation>
    </message>
    <message>
        <source>结束</source>
        <translation>To</translation>
    </message>
    <message>
        <source>时</source>
        <translation>h</translation>
    </message>
    <message>
        <source>分</source>
        <translation>m</translation>
    </message>
    <message>
        <source>秒</source>
        <translation>s</translation>
    </message>
    <message>
        <source>分钟必须小于60</source>
        <translation>Minutes must be less than 60</translation>
    </message>
    <message>
        <source>分钟</source>
        <translation>Minutes</translation>
    </message>
    <message>
        <source>秒必须小于60</source>
        <translation>Seconds must be less than 60</translation>
    </message>
    <message>
        <source>完成通知</source>
        <translation>Notify</translation>
    </message>
    <message>
        <source>开启</source>
        <translation>On</translation>
    </message>
    <message>
        <source>开启：窗口不在前台时，转换结束后由桌面发出通知</source>
        <translation>On: when the window is not in front, the desktop shows a notification when conversion ends</translation>
    </message>
</context>
<context>
    <name>frmSuggest</name>
    <message>
        <source>建议和意见</source>
        <translation>Suggestions and Comments</translation>
    </message>
    <message>
        <source>姓名：</source>
        <translation>Name:</translation>
    </message>
    <message>
        <source>Your Name</source>
        <translation>Your Name</translation>
    </message>
    <message>
        <source>EMAIL：</source>
        <translation>Email:</translation>
    </message>
    <message>
        <source>Email</source>
        <translation>Email</translation>
    </message>
    <message>
        <source>留言：</source>
        <translation>Comment:</translation>
    </message>
    <message>
        <source>发送</source>
        <translation>Send</translation>
    </message>
    <message>
        <source>返回</source>
        <translation>Cancel</translation>
    </message>
    <message>
        <source>正在发送...</source>
        <translation>Sending...</translation>
    </message>
    <message>
        <source>您的姓名？</source>
        <translation>Your name?</translation>
    </message>
    <message>
        <source>您的Email？</source>
        <translation>Your email?</translation>
    </message>
    <message>
        <source>您的意见？</source>
        <translation>Your comment?</translation>
    </message>
    <message>
        <source>完毕.</source>
        <translation>Done.</translation>
    </message>
    <message>
        <source>发送失败.</source>
        <translation>Not sent.</translation>
    </message>
    <message>
        <source>意见没有发送出去。
</source>
        <translation>Your comment was not sent.
</translation>
    </message>
</context>
<context>
    <name>zenvora</name>
    <message>
        <source>the running copy did not take the files</source>
        <translation>the running copy did not take the files</translation>
    </message>
    <message>
        <source>Try &apos;zenvora --help&apos;.</source>
        <translation>Try &apos;zenvora --help&apos;.</translation>
    </message>
</context>
<context>
    <name>zenvora-cli</name>
    <message>
        <source>Try &apos;zenvora-cli --help&apos;.</source>
        <translation>Try &apos;zenvora-cli --help&apos;.</translation>
    </message>
    <message>
        <source>warning: %1</source>
        <translation>warning: %1</translation>
    </message>
    <message>
        <source>cannot create a working folder: %1</source>
        <translation>cannot create a working folder: %1</translation>
    </message>
</context>
</TS>
