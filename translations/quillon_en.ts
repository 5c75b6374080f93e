<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="en" sourcelanguage="ja">
<context>
    <name>AboutForm</name>
    <message>
        <source>情報</source>
        <translation>About</translation>
    </message>
    <message>
        <source>Quillon</source>
        <translation>Quillon</translation>
    </message>
    <message>
        <source>for DirectX</source>
        <translation>for DirectX</translation>
    </message>
    <message>
        <source>(C) 2026 Quillon Project</source>
        <translation>(C) 2026 Quillon Project</translation>
    </message>
    <message>
        <source>OK</source>
        <translation>OK</translation>
    </message>
</context>
<context>
    <name>Choosers</name>
    <message>
        <source>ユーザー指定サブタイトル</source>
        <translation>User subtitles</translation>
    </message>
    <message>
        <source>フォント名「%s」は Shift-JIS で表せないため、選べません。</source>
        <translation>The font name “%s” cannot be written in Shift-JIS, so it cannot be chosen.</translation>
    </message>
</context>
<context>
    <name>CommandLine</name>
    <message>
        <source>%s の値がありません</source>
        <translation>%s has no value</translation>
    </message>
    <message>
        <source>--seed は 0 から 4294967295 までの整数です</source>
        <translation>--seed is a whole number from 0 to 4294967295</translation>
    </message>
    <message>
        <source>余分な引数があります: %s</source>
        <translation>one argument too many: %s</translation>
    </message>
    <message>
        <source>ファイル</source>
        <translation>FILE</translation>
    </message>
    <message>
        <source>RRGGBB|画像</source>
        <translation>RRGGBB|IMAGE</translation>
    </message>
    <message>
        <source>幅x高さ</source>
        <translation>WIDTHxHEIGHT</translation>
    </message>
    <message>
        <source>/S | /P [ウィンドウ]</source>
        <translation>/S | /P [WINDOW]</translation>
    </message>
    <message>
        <source>秒</source>
        <translation>SECONDS</translation>
    </message>
    <message>
        <source>1行目 [2行目]</source>
        <translation>LINE1 [LINE2]</translation>
    </message>
    <message>
        <source>字幕.vtt|字幕.srt</source>
        <translation>CAPTIONS.vtt|CAPTIONS.srt</translation>
    </message>
    <message>
        <source>動画の横に字幕を書き出します</source>
        <translation>writes captions beside the video</translation>
    </message>
    <message>
        <source>フォルダ/</source>
        <translation>FOLDER/</translation>
    </message>
    <message>
        <source>一覧.qln</source>
        <translation>LIST.qln</translation>
    </message>
    <message>
        <source>拡張子</source>
        <translation>EXT</translation>
    </message>
    <message>
        <source>(一覧の1行ごとに1枚、001-1行目.拡張子 の名前で書き出します)</source>
        <translation>(one card per line of the list, named 001-LINE1.EXT)</translation>
    </message>
    <message>
        <source>どの使い方でも、ウィンドウとメッセージの言語を選びます</source>
        <translation>the language of the windows and the messages, in every use</translation>
    </message>
    <message>
        <source>%s は %s と一緒に使います</source>
        <translation>%s goes with %s</translation>
    </message>
    <message>
        <source>%s というオプションはありません</source>
        <translation>there is no option %s</translation>
    </message>
    <message>
        <source>%s に値は付けられません</source>
        <translation>%s takes no value</translation>
    </message>
    <message>
        <source>%s が二度指定されています</source>
        <translation>%s is given twice</translation>
    </message>
    <message>
        <source>使い方: </source>
        <translation>Usage: </translation>
    </message>
    <message>
        <source>(/P にウィンドウの番号を付けると、カードはそのウィンドウの中で音なしに流れます)</source>
        <translation>(with a window number, /P plays the cards inside that window, without sound)</translation>
    </message>
</context>
<context>
    <name>Errors</name>
    <message>
        <source>%s を読み込めません</source>
        <translation>Cannot load %s</translation>
    </message>
    <message>
        <source>%s に書き込めません</source>
        <translation>Cannot write to %s</translation>
    </message>
    <message>
        <source>%s を初期化できません</source>
        <translation>Cannot initialise %s</translation>
    </message>
    <message>
        <source>DirectX 7 以降が必要です</source>
        <translation>DirectX 7 or later is needed</translation>
    </message>
    <message>
        <source>DirectX 6 以降が必要です</source>
        <translation>DirectX 6 or later is needed</translation>
    </message>
    <message>
        <source>%s は作成されていません</source>
        <translation>%s has not been created</translation>
    </message>
    <message>
        <source>%s を作成できません</source>
        <translation>Cannot create %s</translation>
    </message>
    <message>
        <source>クリッパー</source>
        <translation>the clipper</translation>
    </message>
    <message>
        <source>8, 16, 24, 32 のいずれかの値でなければなりません</source>
        <translation>Must be one of 8, 16, 24, 32</translation>
    </message>
    <message>
        <source>フォームが見つかりません</source>
        <translation>The form cannot be found</translation>
    </message>
    <message>
        <source>ディスプレイモードを変更できません (%dx%d %dbit)</source>
        <translation>Cannot change the display mode (%dx%d %dbit)</translation>
    </message>
    <message>
        <source>プライマリサーフェース</source>
        <translation>the primary surface</translation>
    </message>
    <message>
        <source>サーフェース</source>
        <translation>the surface</translation>
    </message>
    <message>
        <source>%s を起動できません</source>
        <translation>Cannot start %s</translation>
    </message>
    <message>
        <source>実行中</source>
        <translation>running</translation>
    </message>
    <message>
        <source>シグナル %d で終了</source>
        <translation>ended by signal %d</translation>
    </message>
    <message>
        <source>終了コード %d</source>
        <translation>exit code %d</translation>
    </message>
    <message>
        <source>書き出す画像の大きさが違います</source>
        <translation>The picture to export has the wrong size</translation>
    </message>
    <message>
        <source>ffmpeg が失敗しました (%s)</source>
        <translation>ffmpeg failed (%s)</translation>
    </message>
    <message>
        <source>書き出しを取り消しました</source>
        <translation>The export was cancelled</translation>
    </message>
    <message>
        <source>サウンドバッファ</source>
        <translation>the sound buffer</translation>
    </message>
    <message>
        <source>%s をロックできません</source>
        <translation>Cannot lock %s</translation>
    </message>
    <message>
        <source>プライマリバッファ</source>
        <translation>the primary buffer</translation>
    </message>
    <message>
        <source>OpenAL Soft で音を書き出せません (ALC_SOFT_loopback)</source>
        <translation>OpenAL Soft cannot render the sound (ALC_SOFT_loopback)</translation>
    </message>
    <message>
        <source>Wave &apos;%s&apos; が見つかりません</source>
        <translation>Wave &apos;%s&apos; not found</translation>
    </message>
    <message>
        <source>ストリームへの書き込みエラー</source>
        <translation>Error writing to the stream</translation>
    </message>
    <message>
        <source>ストリームからの読み込みエラー</source>
        <translation>Error reading from the stream</translation>
    </message>
    <message>
        <source>ストリームはすでに開かれています</source>
        <translation>The stream is already open</translation>
    </message>
    <message>
        <source>不正な Wave です</source>
        <translation>Not a valid wave</translation>
    </message>
    <message>
        <source>ストリームは開かれていません</source>
        <translation>The stream is not open</translation>
    </message>
    <message>
        <source>ファイル %s は開けません</source>
        <translation>Cannot open the file %s</translation>
    </message>
    <message>
        <source>ファイル %s を作成できません</source>
        <translation>Cannot create the file %s</translation>
    </message>
    <message>
        <source>動画の書き出しには ffmpeg が必要ですが、%s にも PATH のフォルダにもありません。%s</source>
        <translation>Exporting a video needs ffmpeg, which is neither in %s nor in a folder on PATH. %s</translation>
    </message>
    <message>
        <source>パッケージ ffmpeg をインストールしてください (例: sudo apt install ffmpeg)</source>
        <translation>Please install the package ffmpeg (for example: sudo apt install ffmpeg)</translation>
    </message>
    <message>
        <source>ffmpeg.exe をこのプログラムと同じフォルダか、PATH のフォルダに置いてください</source>
        <translation>Please put ffmpeg.exe in the same folder as this program or in a folder on PATH</translation>
    </message>
</context>
<context>
    <name>Export</name>
    <message>
        <source>書き出し中 %1%
</source>
        <translation>Exporting %1%
</translation>
    </message>
    <message>
        <source>書き出しました: %1
</source>
        <translation>Exported: %1
</translation>
    </message>
    <message>
        <source>PNG 画像 (*.png)</source>
        <translation>PNG image (*.png)</translation>
    </message>
    <message>
        <source>MP4 動画 (*.mp4)</source>
        <translation>MP4 video (*.mp4)</translation>
    </message>
    <message>
        <source>WebM 動画 (*.webm)</source>
        <translation>WebM video (*.webm)</translation>
    </message>
    <message>
        <source>カードを書き出す</source>
        <translation>Export card</translation>
    </message>
    <message>
        <source>書き出し中: %1</source>
        <translation>Exporting: %1</translation>
    </message>
    <message>
        <source>キャンセル</source>
        <translation>Cancel</translation>
    </message>
    <message>
        <source>取り消し中…</source>
        <translation>Cancelling…</translation>
    </message>
    <message>
        <source>--size は 1920x1080 のように 幅x高さ で指定してください</source>
        <translation>give --size as WIDTHxHEIGHT, for example 1920x1080</translation>
    </message>
    <message>
        <source>--size の幅と高さは %d から %d までです</source>
        <translation>the width and height of --size are from %d to %d</translation>
    </message>
    <message>
        <source>%d行目に改行や制御文字があります</source>
        <translation>line %d holds a line break or a control character</translation>
    </message>
    <message>
        <source>%d行目に Shift-JIS で表せない文字があります</source>
        <translation>line %d holds a character Shift-JIS cannot hold</translation>
    </message>
    <message>
        <source>--size が大きすぎます (画素数は 7680x4320 まで)</source>
        <translation>--size is too large (at most as many pixels as 7680x4320)</translation>
    </message>
    <message>
        <source>H.264 (.mp4) の幅と高さは偶数でなければなりません</source>
        <translation>the width and height of H.264 (.mp4) must be even</translation>
    </message>
    <message>
        <source>--fps は 1 から %d までの整数です</source>
        <translation>--fps is a whole number from 1 to %d</translation>
    </message>
    <message>
        <source>書き出すファイルが指定されていません</source>
        <translation>no file to export to is given</translation>
    </message>
    <message>
        <source>1行目が指定されていません</source>
        <translation>line 1 is not given</translation>
    </message>
    <message>
        <source>%s に書き込めません</source>
        <translation>cannot write to %s</translation>
    </message>
    <message>
        <source>カードの絵を描けませんでした</source>
        <translation>could not draw the card</translation>
    </message>
    <message>
        <source>書き出し中 [%1%2] %3%</source>
        <translation>Exporting [%1%2] %3%</translation>
    </message>
    <message>
        <source>%s: 字幕の形式は .vtt (WebVTT) か .srt (SubRip) です</source>
        <translation>%s: captions are .vtt (WebVTT) or .srt (SubRip)</translation>
    </message>
    <message>
        <source>%d行目は空なので飛ばします</source>
        <translation>line %d is blank and is skipped</translation>
    </message>
    <message>
        <source>中断しました。書き出したカードは %d 枚です: %s</source>
        <translation>Stopped. %d cards were exported: %s</translation>
    </message>
    <message>
        <source>%d 枚を書き出し、%d 枚を書き出せませんでした: %s</source>
        <translation>%d cards exported, %d could not be exported: %s</translation>
    </message>
    <message>
        <source>%d 枚を書き出しました: %s</source>
        <translation>%d cards exported: %s</translation>
    </message>
    <message>
        <source>MOV 動画 ProRes 4444 (*.mov)</source>
        <translation>MOV video, ProRes 4444 (*.mov)</translation>
    </message>
    <message>
        <source>GIF アニメ (*.gif)</source>
        <translation>Animated GIF (*.gif)</translation>
    </message>
    <message>
        <source>WebP アニメ (*.webp)</source>
        <translation>Animated WebP (*.webp)</translation>
    </message>
    <message>
        <source>PNG 連番 フォルダ (*)</source>
        <translation>PNG sequence, folder (*)</translation>
    </message>
    <message>
        <source>背景を透明にする(&amp;T)</source>
        <translation>&amp;Transparent background</translation>
    </message>
    <message>
        <source>静止画 (.png) に字幕は付けられません: --captions は動画に使います</source>
        <translation>a still picture (.png) has no captions: --captions is for videos</translation>
    </message>
    <message>
        <source>--file と --catalogue は一緒に使えません</source>
        <translation>--file and --catalogue cannot be used together</translation>
    </message>
    <message>
        <source>--format は --file か --catalogue と一緒に使います</source>
        <translation>--format goes with --file or --catalogue</translation>
    </message>
    <message>
        <source>一覧を書き出すときは1行目と2行目を指定しません: %s</source>
        <translation>a list export takes no line 1 or line 2: %s</translation>
    </message>
    <message>
        <source>--loop は 0 (いつまでも) から 65535 までの整数です</source>
        <translation>--loop is a whole number from 0 (for ever) to 65535</translation>
    </message>
    <message>
        <source>--transparent は .mp4 には使えません (H.264 には透明がありません)。.webm, .mov, .gif, .webp, .png か PNG 連番にしてください</source>
        <translation>--transparent cannot be used with .mp4 (H.264 has no transparency); use .webm, .mov, .gif, .webp, .png or a PNG sequence</translation>
    </message>
    <message>
        <source>--transparent と --background は一緒に使えません</source>
        <translation>--transparent and --background cannot be used together</translation>
    </message>
    <message>
        <source>%d行目が長すぎます (%d バイトまで)</source>
        <translation>line %d is too long (at most %d bytes)</translation>
    </message>
    <message>
        <source>一覧 %s に題名がありません</source>
        <translation>the list %s holds no titles</translation>
    </message>
    <message>
        <source>フォルダ %s を作れません</source>
        <translation>cannot make the folder %s</translation>
    </message>
    <message>
        <source>一覧 %s は %d 行目までしか読めません (行が長すぎるか、一覧が大きすぎます)。そこまでを書き出します</source>
        <translation>the list %s can be read only up to line %d (a line is too long, or the list too big); the cards up to there are written</translation>
    </message>
    <message>
        <source>%d 枚を書き出しました。一覧の %d 行目より先は書き出していません: %s</source>
        <translation>%d cards exported; nothing past line %d of the list: %s</translation>
    </message>
    <message>
        <source>%s: 書き出せる形式は %s と、PNG 連番のフォルダ (名前/) か名前の型 (frame-%05d.png) です</source>
        <translation>%s: the formats are %s, and a PNG sequence as a folder (NAME/) or a name pattern (frame-%05d.png)</translation>
    </message>
</context>
<context>
    <name>MainForm</name>
    <message>
        <source>起動</source>
        <translation>Run</translation>
    </message>
    <message>
        <source>サブタイトル表示を始めます</source>
        <translation>Starts showing the subtitle</translation>
    </message>
    <message>
        <source>サブタイトルの１行目を入力します</source>
        <translation>Type line 1 of the subtitle</translation>
    </message>
    <message>
        <source>サブタイトルの２行目を入力します</source>
        <translation>Type line 2 of the subtitle</translation>
    </message>
    <message>
        <source>１行目</source>
        <translation>Line 1</translation>
    </message>
    <message>
        <source>(２行目)</source>
        <translation>(line 2)</translation>
    </message>
    <message>
        <source>サブタイトルを入力せよ。</source>
        <translation>Type a subtitle.</translation>
    </message>
    <message>
        <source>終了</source>
        <translation>Exit</translation>
    </message>
    <message>
        <source>プログラムを終了します。</source>
        <translation>Ends the program.</translation>
    </message>
    <message>
        <source>設定</source>
        <translation>Settings</translation>
    </message>
    <message>
        <source>設定画面を表示します</source>
        <translation>Shows the settings</translation>
    </message>
    <message>
        <source>情報</source>
        <translation>About</translation>
    </message>
    <message>
        <source>著作権画面を表示します</source>
        <translation>Shows the copyright</translation>
    </message>
    <message>
        <source>オリジナルサブタイトルを選択します</source>
        <translation>Choose an original subtitle</translation>
    </message>
    <message>
        <source>サブタイトルをランダムに選びます</source>
        <translation>Picks a subtitle at random</translation>
    </message>
    <message>
        <source>入力したサブタイトルを消去します</source>
        <translation>Erases the typed subtitle</translation>
    </message>
    <message>
        <source>保存したサブタイトルを選択します</source>
        <translation>Choose a saved subtitle</translation>
    </message>
    <message>
        <source>入力した文字列をファイルに保存します</source>
        <translation>Saves the typed text to the file</translation>
    </message>
</context>
<context>
    <name>OptionForm</name>
    <message>
        <source>設定</source>
        <translation>Settings</translation>
    </message>
    <message>
        <source>OK</source>
        <translation>OK</translation>
    </message>
    <message>
        <source>変更した設定を適用して文字列入力画面に戻ります</source>
        <translation>Applies the changes and goes back to the subtitle window</translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation>Cancel</translation>
    </message>
    <message>
        <source>変更した設定を適用せずに文字列入力画面に戻ります</source>
        <translation>Goes back to the subtitle window without the changes</translation>
    </message>
    <message>
        <source>サイコロ選択</source>
        <translation>Random pick</translation>
    </message>
    <message>
        <source>ランダム選択時の範囲を設定します</source>
        <translation>Sets where a random pick comes from</translation>
    </message>
    <message>
        <source>両方</source>
        <translation>Both</translation>
    </message>
    <message>
        <source>オリジナルのみ</source>
        <translation>Original only</translation>
    </message>
    <message>
        <source>ユーザーのみ</source>
        <translation>Yours only</translation>
    </message>
    <message>
        <source>オリジナル</source>
        <translation>Original</translation>
    </message>
    <message>
        <source>オリジナルサブタイトルの範囲を設定します</source>
        <translation>Sets which original subtitles are listed</translation>
    </message>
    <message>
        <source>Part I</source>
        <translation>Part I</translation>
    </message>
    <message>
        <source>Part II</source>
        <translation>Part II</translation>
    </message>
    <message>
        <source>Part III</source>
        <translation>Part III</translation>
    </message>
    <message>
        <source>全部入り</source>
        <translation>All</translation>
    </message>
    <message>
        <source>User&apos;s File</source>
        <translation>User&apos;s File</translation>
    </message>
    <message>
        <source>not selected</source>
        <translation>not selected</translation>
    </message>
    <message>
        <source>ユーザーが作成したサブタイトルファイルを選択します</source>
        <translation>Chooses your own subtitle file</translation>
    </message>
    <message>
        <source>解除</source>
        <translation>Clear</translation>
    </message>
    <message>
        <source>ユーザーサブタイトルファイルの選択を解除します</source>
        <translation>Stops using your subtitle file</translation>
    </message>
    <message>
        <source>表示フォント</source>
        <translation>Display font</translation>
    </message>
    <message>
        <source>フォント名</source>
        <translation>Font name</translation>
    </message>
    <message>
        <source>サブタイトル表示に使用するフォントを選択します</source>
        <translation>Chooses the font the subtitle is shown in</translation>
    </message>
    <message>
        <source>自動終了</source>
        <translation>Auto end</translation>
    </message>
    <message>
        <source>サブタイトル表示終了後、画面消去を自動で行います</source>
        <translation>Clears the screen by itself when the subtitle has been shown</translation>
    </message>
    <message>
        <source>消音</source>
        <translation>Mute</translation>
    </message>
    <message>
        <source>サブタイトル表示時の音を消去します</source>
        <translation>Shows the subtitle without sound</translation>
    </message>
    <message>
        <source>拡大率</source>
        <translation>Scale</translation>
    </message>
    <message>
        <source>サブタイトル表示時の文字の大きさを設定します</source>
        <translation>Sets the size of the characters</translation>
    </message>
    <message>
        <source>起動ウェイト</source>
        <translation>Start wait</translation>
    </message>
    <message>
        <source>起動時の画面切り替え待ち時間を指定します</source>
        <translation>Sets the wait while the screen switches at the start</translation>
    </message>
    <message>
        <source>字間ウェイト</source>
        <translation>Char wait</translation>
    </message>
    <message>
        <source>サブタイトル表示時の表示待ち時間を設定します</source>
        <translation>Sets the wait between characters</translation>
    </message>
</context>
<context>
    <name>PageStyle</name>
    <message>
        <source>--color は白なら FFFFFF のように 16進数6桁で指定してください</source>
        <translation>give --color as six hexadecimal digits, for example FFFFFF for white</translation>
    </message>
    <message>
        <source>--background の %1 は色 (RRGGBB) でも読める画像でもありません</source>
        <translation>%1 of --background is neither a colour (RRGGBB) nor a picture that can be read</translation>
    </message>
</context>
<context>
    <name>Prompts</name>
    <message>
        <source>確認</source>
        <translation>Confirm</translation>
    </message>
    <message>
        <source>はい(&amp;Y)</source>
        <translation>&amp;Yes</translation>
    </message>
    <message>
        <source>いいえ(&amp;N)</source>
        <translation>&amp;No</translation>
    </message>
    <message>
        <source>OK</source>
        <translation>OK</translation>
    </message>
</context>
<context>
    <name>Saver</name>
    <message>
        <source>--linger は 0 から %d までの秒数です</source>
        <translation>--linger is a number of seconds from 0 to %d</translation>
    </message>
    <message>
        <source>--window-id の %s はウィンドウの番号ではありません (10進数か、0x で始まる16進数)</source>
        <translation>%s of --window-id is not a window number (decimal, or hexadecimal starting with 0x)</translation>
    </message>
    <message>
        <source>--file のファイル名がありません</source>
        <translation>--file has no file name</translation>
    </message>
    <message>
        <source>XSCREENSAVER_WINDOW の %s はウィンドウの番号ではありません</source>
        <translation>%s of XSCREENSAVER_WINDOW is not a window number</translation>
    </message>
    <message>
        <source>ファイル %s にサブタイトルがありません</source>
        <translation>the file %s holds no subtitles</translation>
    </message>
    <message>
        <source>ウィンドウ 0x%s に描けません (そのウィンドウはありません)</source>
        <translation>cannot draw into window 0x%s (there is no such window)</translation>
    </message>
</context>
<context>
    <name>ScreenInhibitor</name>
    <message>
        <source>サブタイトルを表示しています</source>
        <translation>Showing a subtitle</translation>
    </message>
</context>
<context>
    <name>ShiftJisField</name>
    <message>
        <source>Shift-JIS で表せない文字「%1%2」を除きました。</source>
        <translation>Left out characters Shift-JIS cannot hold: “%1%2”.</translation>
    </message>
    <message>
        <source>、</source>
        <translation>, </translation>
    </message>
</context>
<context>
    <name>TMainForm</name>
    <message>
        <source>&#x3000;↓&#x3000;オリジナルサブタイトルの一覧</source>
        <translation>  ↓  Original subtitles</translation>
    </message>
    <message>
        <source>&#x3000;↓&#x3000;ユーザー定義サブタイトル一覧</source>
        <translation>  ↓  Your subtitles</translation>
    </message>
    <message>
        <source>このサブタイトルを削除</source>
        <translation>Delete this subtitle</translation>
    </message>
    <message>
        <source>カードを書き出す(&amp;E)...</source>
        <translation>&amp;Export card...</translation>
    </message>
</context>
<context>
    <name>TOptionForm</name>
    <message>
        <source>not selected</source>
        <translation>not selected</translation>
    </message>
    <message>
        <source>ファイル %s の %s 行目が 4096 バイトを超えるため、最初の %s 件だけを読み込みました。</source>
        <translation>In the file %s, line %s is longer than 4,096 bytes; only its first %s subtitles were read.</translation>
    </message>
    <message>
        <source>ファイル %s は 1,000,000 行を超えるため、最初の %s 件だけを読み込みました。</source>
        <translation>The file %s has more than 1,000,000 lines; only its first %s subtitles were read.</translation>
    </message>
    <message>
        <source>ファイル %s は 16 MB を超えるため、最初の %s 件だけを読み込みました。</source>
        <translation>The file %s is larger than 16 MB; only its first %s subtitles were read.</translation>
    </message>
</context>
<context>
    <name>UserSubtitles</name>
    <message>
        <source>User&apos;s Fileがありません。
作成しますか？</source>
        <translation>There is no User&apos;s File.
Create one?</translation>
    </message>
    <message>
        <source>ユーザー指定サブタイトルを保存しました。</source>
        <translation>The subtitle has been saved.</translation>
    </message>
    <message>
        <source>%1
をユーザーファイルから削除しますか？</source>
        <translation>%1
Delete this subtitle from the user file?</translation>
    </message>
    <message>
        <source>ユーザー指定サブタイトルを削除しました。</source>
        <translation>The subtitle has been deleted.</translation>
    </message>
</context>
<context>
    <name>quillon::FaceChooser</name>
    <message>
        <source>フォントの選択</source>
        <translation>Select Font</translation>
    </message>
    <message>
        <source>フォント(&amp;F)</source>
        <translation>&amp;Font</translation>
    </message>
    <message>
        <source>サンプル</source>
        <translation>Sample</translation>
    </message>
</context>
</TS>
