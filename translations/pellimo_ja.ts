<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="ja_JP">
<context>
    <name>pellimo</name>
    <message>
        <source>%1 (%2, valid until %3)</source>
        <translation>%1 (%2、有効期限 %3)</translation>
    </message>
    <message>
        <source>No certificate with a private key in %1 (import one with: pk12util -d sql:%1 -i FILE.p12)</source>
        <translation>%1 に秘密鍵のある証明書がありません (取り込むには: pk12util -d sql:%1 -i ファイル.p12)</translation>
    </message>
    <message>
        <source>No signing certificate named “%1” in %2; there are: %3</source>
        <translation>%2 に「%1」という署名用の証明書はありません。あるのは: %3</translation>
    </message>
    <message>
        <source>Several signing certificates in %1, name one: %2</source>
        <translation>%1 に署名用の証明書が複数あります。どれか一つを指定してください: %2</translation>
    </message>
    <message>
        <source>Several certificates match “%1”: %2</source>
        <translation>「%1」に当てはまる証明書が複数あります: %2</translation>
    </message>
    <message>
        <source>The certificate “%1” expired on %2</source>
        <translation>証明書「%1」は %2 に有効期限が切れています</translation>
    </message>
    <message>
        <source>The certificate “%1” is not valid until %2</source>
        <translation>証明書「%1」は %2 まで有効になりません</translation>
    </message>
    <message>
        <source>The certificate “%1” is not for signing: its key usage has neither digital signature nor non-repudiation</source>
        <translation>証明書「%1」は署名用ではありません (鍵用途にデジタル署名も否認防止もありません)</translation>
    </message>
    <message>
        <source>The certificate “%1” is no longer in the database</source>
        <translation>証明書「%1」はもうデータベースにありません</translation>
    </message>
    <message>
        <source>The private key of “%1” cannot be used: %2</source>
        <translation>「%1」の秘密鍵を使えません: %2</translation>
    </message>
    <message>
        <source>Cannot compute SHA-256: %1</source>
        <translation>SHA-256 を計算できません: %1</translation>
    </message>
    <message>
        <source>Signing failed: %1</source>
        <translation>署名できませんでした: %1</translation>
    </message>
    <message>
        <source>The signed bytes have changed since signing</source>
        <translation>署名したあとで内容が変更されています</translation>
    </message>
    <message>
        <source>The signature does not match the signer&apos;s certificate</source>
        <translation>署名が署名者の証明書と合いません</translation>
    </message>
    <message>
        <source>The signer&apos;s certificate is not in the signature</source>
        <translation>署名に署名者の証明書が入っていません</translation>
    </message>
    <message>
        <source>The signature&apos;s algorithm is not supported</source>
        <translation>署名のアルゴリズムに対応していません</translation>
    </message>
    <message>
        <source>The signature is malformed: %1</source>
        <translation>署名の形式が正しくありません: %1</translation>
    </message>
    <message>
        <source>The signature is not a CMS signature</source>
        <translation>署名が CMS 署名ではありません</translation>
    </message>
    <message>
        <source>The signature has %1 signers instead of one</source>
        <translation>署名の署名者が一人ではなく %1 人です</translation>
    </message>
    <message>
        <source>No certificate database in %1 (import a certificate with: pk12util -d sql:%1 -i FILE.p12)</source>
        <translation>%1 に証明書データベースがありません (証明書を取り込むには: pk12util -d sql:%1 -i ファイル.p12)</translation>
    </message>
    <message>
        <source>Cannot open the certificate database in %1: %2</source>
        <translation>%1 の証明書データベースを開けません: %2</translation>
    </message>
    <message>
        <source>Cannot start NSS: %1</source>
        <translation>NSS を開始できません: %1</translation>
    </message>
    <message>
        <source>Cannot read the password file %1: %2</source>
        <translation>パスワードファイル %1 を読めません: %2</translation>
    </message>
    <message>
        <source>Wrong password for “%1”</source>
        <translation>「%1」のパスワードが違います</translation>
    </message>
    <message>
        <source>No password given for “%1”</source>
        <translation>「%1」のパスワードが与えられていません</translation>
    </message>
    <message>
        <source>Cannot log in to “%1”: %2</source>
        <translation>「%1」にログインできません: %2</translation>
    </message>
    <message>
        <source>No terminal to ask the password for “%1” on</source>
        <translation>「%1」のパスワードを尋ねる端末がありません</translation>
    </message>
    <message>
        <source>Wrong password, try again.</source>
        <translation>パスワードが違います。もう一度入力してください。</translation>
    </message>
    <message>
        <source>Password for “%1”: </source>
        <translation>「%1」のパスワード: </translation>
    </message>
    <message>
        <source>%1 is protected: its permissions do not allow adding annotations such as a stamp</source>
        <translation>%1 は保護されています: 印影などの注釈を追加することが許可されていません</translation>
    </message>
    <message>
        <source>%1 is certified by a signature (%2) that allows no annotations; a stamp would break it</source>
        <translation>%1 は注釈を許さない署名 (%2) で保証されています。押印するとその署名が無効になります</translation>
    </message>
    <message>
        <source>%1 is damaged (%2) and signed (%3): a repaired copy would break the signature, so it is not stamped</source>
        <translation>%1 は壊れていて (%2) 署名 (%3) があります。修復したコピーでは署名が無効になるため、押印しません</translation>
    </message>
    <message>
        <source>the output file is the input file; choose another name (the input is never changed)</source>
        <translation>出力ファイルが入力ファイルと同じです。別の名前を選んでください (入力ファイルは変更しません)</translation>
    </message>
    <message>
        <source>page %1 of %2 cannot be stamped: %3</source>
        <translation>%2 の %1 ページには押印できません: %3</translation>
    </message>
    <message>
        <source>the stamp could not be drawn as PDF</source>
        <translation>印影を PDF として描けませんでした</translation>
    </message>
    <message>
        <source>%1 cannot be stamped: %2</source>
        <translation>%1 に押印できません: %2</translation>
    </message>
    <message>
        <source>%1 is signed (%2): drawing the stamp into the page would break the signature; add the stamp as an annotation instead</source>
        <translation>%1 には署名 (%2) があります。印影をページに描き込むと署名が無効になります。注釈として押印してください</translation>
    </message>
    <message>
        <source>%1 is protected: its permissions do not allow changing its pages</source>
        <translation>%1 は保護されています: ページの変更が許可されていません</translation>
    </message>
    <message>
        <source>%1 is larger than Pellimo reads (the content of page %2 unpacks to more than %3 MiB)</source>
        <translation>%1 は Pellimo が読める大きさを超えています (%2 ページの内容が展開すると %3 MiB を超えます)</translation>
    </message>
    <message>
        <source>%1 is encrypted and needs a password to be opened; Pellimo stamps only PDF files that open without one</source>
        <translation>%1 は暗号化されていて、開くにはパスワードが必要です。Pellimo はパスワードなしで開ける PDF にだけ押印します</translation>
    </message>
    <message>
        <source>%1 is encrypted in a way Pellimo cannot read</source>
        <translation>%1 は Pellimo が読めない方式で暗号化されています</translation>
    </message>
    <message>
        <source>%1 is damaged beyond repair or not a PDF file</source>
        <translation>%1 は修復できないほど壊れているか、PDF ファイルではありません</translation>
    </message>
    <message>
        <source>%1 is larger than Pellimo reads (%2)</source>
        <translation>%1 は Pellimo が読める大きさを超えています (%2)</translation>
    </message>
    <message>
        <source>%1: no such file</source>
        <translation>%1: ファイルがありません</translation>
    </message>
    <message>
        <source>%1 cannot be read: %2</source>
        <translation>%1 を読めません: %2</translation>
    </message>
    <message>
        <source>%1 is not a regular file</source>
        <translation>%1 は通常のファイルではありません</translation>
    </message>
    <message>
        <source>it needs repairs to be read</source>
        <translation>読むには修復が必要です</translation>
    </message>
    <message>
        <source>%1 has no page that can be read</source>
        <translation>%1 には読めるページがありません</translation>
    </message>
    <message>
        <source>page %1 does not exist: %2 has %3 page(s)</source>
        <translation>%1 ページはありません: %2 は %3 ページです</translation>
    </message>
    <message>
        <source>%1 is damaged (%2): the stamped copy is a repaired, rewritten file</source>
        <translation>%1 は壊れています (%2): 押印したコピーは修復して書き直したファイルです</translation>
    </message>
    <message>
        <source>its page size uses numbers too large to place a stamp by</source>
        <translation>ページの大きさの数値が大きすぎて、印影の位置を決められません</translation>
    </message>
    <message>
        <source>it has no usable page size (MediaBox)</source>
        <translation>使えるページの大きさ (MediaBox) がありません</translation>
    </message>
    <message>
        <source>its page turn (/Rotate %1) is not a whole number of quarter turns</source>
        <translation>ページの回転 (/Rotate %1) が 90 度単位ではありません</translation>
    </message>
    <message>
        <source>its page turn (/Rotate) is not a whole number</source>
        <translation>ページの回転 (/Rotate) が整数ではありません</translation>
    </message>
    <message>
        <source>the stamped file could not be written (%1)</source>
        <translation>押印したファイルを書き込めませんでした (%1)</translation>
    </message>
    <message>
        <source>&quot;%1&quot; by %2</source>
        <translation>「%1」(%2)</translation>
    </message>
    <message>
        <source>page %1 at %2, %3 mm (%4 x %5 mm): %6, %7, %8, %9</source>
        <translation>%1 ページ %2, %3 mm (%4 x %5 mm): %6、%7、%8、%9</translation>
    </message>
    <message>
        <source>Pellimo</source>
        <translation>Pellimo</translation>
    </message>
    <message>
        <source>another program</source>
        <translation>他のプログラム</translation>
    </message>
    <message>
        <source>%1 is damaged (%2); its stamps were read from a repaired reading</source>
        <translation>%1 は壊れています (%2)。印影は修復して読んだ内容から取り出しました</translation>
    </message>
    <message>
        <source>the stamp must be at least %1 mm across to be read</source>
        <translation>印影は読めるように直径 %1 mm 以上にしてください</translation>
    </message>
    <message>
        <source>the stamp (%1 mm at %2, %3 mm) does not fit on page %4 (%5 x %6 mm)</source>
        <translation>印影 (%1 mm、位置 %2, %3 mm) が %4 ページ (%5 x %6 mm) に収まりません</translation>
    </message>
    <message>
        <source>portable: the program&apos;s own folder, which can be written or holds pellimo.ini</source>
        <translation>ポータブル: 書き込めるか pellimo.ini のある、プログラム自身のフォルダー</translation>
    </message>
    <message>
        <source>installed: the program&apos;s folder cannot be written, so the user&apos;s data folder</source>
        <translation>インストール: プログラムのフォルダーには書き込めないため、ユーザーのデータフォルダー</translation>
    </message>
    <message>
        <source>Draws a round Japanese date stamp and puts it on the clipboard.

Usage:
  pellimo                  open the window
  pellimo FILE.pdf         open the window and &quot;PDF に押印…&quot; on FILE.pdf; when
                           Pellimo already runs, FILE.pdf goes to its window
  pellimo nogui [u1..u5]   put the start-up user&apos;s stamp (or user N&apos;s) on the
                           clipboard and save it, without a window
  pellimo --help, -h       show this text
  pellimo --version, -v    show the version

Exit status:
  0  the window was closed; under nogui the stamp is on the clipboard and saved;
     a PDF was handed to the window that runs
  1  a failure: no display, a file that cannot be written, no clipboard
  2  Pellimo is already running with the same data folder
  3  nogui set the stamp, but after a warning: defaults used, values out of
     range, or characters the date line could not hold left out

Data folder (pellimo.ini, user01.dat .. user05.dat, .pellimo.lock):
  %1
  (%2)
</source>
        <translation>丸い日付印を描いて、クリップボードにコピーします。

使い方:
  pellimo                  ウィンドウを開く
  pellimo FILE.pdf         ウィンドウを開き、FILE.pdf で「PDF に押印…」を開く。
                           Pellimo がすでに動いていれば、FILE.pdf をそのウィンドウに渡す
  pellimo nogui [u1..u5]   起動時のユーザー (または N 番のユーザー) の印影を
                           ウィンドウなしでクリップボードにコピーし、保存する
  pellimo --help, -h       この説明を表示する
  pellimo --version, -v    バージョンを表示する

終了ステータス:
  0  ウィンドウが閉じられた。nogui では印影をクリップボードにコピーして保存した。
     または動いているウィンドウに PDF を渡した
  1  失敗: ディスプレイがない、書き込めないファイルがある、クリップボードがない
  2  同じデータフォルダーで Pellimo がすでに動いている
  3  nogui で印影をコピーしたが警告があった: 既定値を使った、範囲外の値があった、
     または日付行に入れられない文字を省いた

データフォルダー (pellimo.ini、user01.dat .. user05.dat、.pellimo.lock):
  %1
  (%2)
</translation>
    </message>
    <message>
        <source>Pellimo: no display to run on (neither DISPLAY nor WAYLAND_DISPLAY is set); nothing was done.</source>
        <translation>Pellimo: 表示するディスプレイがありません (DISPLAY も WAYLAND_DISPLAY も設定されていません)。何もしませんでした。</translation>
    </message>
    <message>
        <source>Pellimo: cannot connect to the X display %1; nothing was done.</source>
        <translation>Pellimo: X ディスプレイ %1 に接続できません。何もしませんでした。</translation>
    </message>
    <message>
        <source>Pellimo: this Wayland session has no Xwayland (DISPLAY is not set) and Qt&apos;s Wayland support is not installed (package qt6-wayland); nothing was done.</source>
        <translation>Pellimo: この Wayland セッションには Xwayland がなく (DISPLAY が設定されていません)、Qt の Wayland 対応もインストールされていません (パッケージ qt6-wayland)。何もしませんでした。</translation>
    </message>
    <message>
        <source>A link to a file that does not exist; it is not followed</source>
        <translation>存在しないファイルへのリンクです。たどりません</translation>
    </message>
    <message>
        <source>Not a regular file</source>
        <translation>通常のファイルではありません</translation>
    </message>
    <message>
        <source>The file changed while it was being read</source>
        <translation>読んでいる間にファイルが変更されました</translation>
    </message>
    <message>
        <source>%1 changed while it was being read</source>
        <translation>%1 は読んでいる間に変更されました</translation>
    </message>
    <message>
        <source>%1 cannot be written: %2</source>
        <translation>%1 に書き込めません: %2</translation>
    </message>
    <message>
        <source>the end of the file is missing or cut off</source>
        <translation>ファイルの終わりがないか、途中で切れています</translation>
    </message>
    <message>
        <source>it has too many updates</source>
        <translation>更新の回数が多すぎます</translation>
    </message>
    <message>
        <source>it has more objects than Pellimo reads</source>
        <translation>Pellimo が読める数より多くのオブジェクトがあります</translation>
    </message>
    <message>
        <source>its cross-reference data is not where the file says</source>
        <translation>相互参照データがファイルの示す位置にありません</translation>
    </message>
    <message>
        <source>its cross-reference data unpacks to more than it holds</source>
        <translation>相互参照データが展開すると本来の量を超えます</translation>
    </message>
    <message>
        <source>its objects are larger than Pellimo reads</source>
        <translation>オブジェクトが Pellimo の読める大きさを超えています</translation>
    </message>
    <message>
        <source>object %1 is not where its cross-reference entry says</source>
        <translation>オブジェクト %1 が相互参照の示す位置にありません</translation>
    </message>
    <message>
        <source>the length of stream %1 is wrong</source>
        <translation>ストリーム %1 の長さが正しくありません</translation>
    </message>
    <message>
        <source>object stream %1 is missing</source>
        <translation>オブジェクトストリーム %1 がありません</translation>
    </message>
    <message>
        <source>its object streams unpack to more than Pellimo reads</source>
        <translation>オブジェクトストリームが展開すると Pellimo の読める量を超えます</translation>
    </message>
    <message>
        <source>object stream %1 cannot be read</source>
        <translation>オブジェクトストリーム %1 を読めません</translation>
    </message>
    <message>
        <source>signed by %1 at %2, the signature is valid</source>
        <translation>%1 が %2 に署名、署名は有効</translation>
    </message>
    <message>
        <source>signed by %1 at %2, the signature is NOT valid: %3</source>
        <translation>%1 が %2 に署名、署名は無効: %3</translation>
    </message>
    <message>
        <source>%1 is encrypted: Pellimo signs only documents without encryption</source>
        <translation>%1 は暗号化されています。Pellimo が署名するのは暗号化されていない文書だけです</translation>
    </message>
    <message>
        <source>%1 is damaged (%2): a signature needs the file as it is, so it is not signed</source>
        <translation>%1 は壊れています (%2)。署名にはファイルがそのまま読める必要があるため、署名しません</translation>
    </message>
    <message>
        <source>%1 is certified by a signature (%2) that allows no new signature fields; a signed stamp would break it</source>
        <translation>%1 は新しい署名欄を認めない署名 (%2) で保証されています。署名付きの押印はその署名を無効にします</translation>
    </message>
    <message>
        <source>%1 cannot be read back for signing: %2</source>
        <translation>署名のために %1 を読み返せません: %2</translation>
    </message>
    <message>
        <source>%1 is too large to be signed</source>
        <translation>%1 は大きすぎて署名できません</translation>
    </message>
    <message>
        <source>a signed copy cannot go to standard output; name a file with -o</source>
        <translation>署名付きのコピーは標準出力に書けません。-o でファイル名を指定してください</translation>
    </message>
    <message>
        <source>the signature (%1 bytes) does not fit the room kept for it</source>
        <translation>署名 (%1 バイト) が確保した領域に収まりません</translation>
    </message>
    <message>
        <source>%1 cannot be signed: %2</source>
        <translation>%1 に署名できません: %2</translation>
    </message>
    <message>
        <source>its byte range does not lie within the file</source>
        <translation>署名の対象範囲がファイルの中にありません</translation>
    </message>
    <message>
        <source>the file cannot be read</source>
        <translation>ファイルを読めません</translation>
    </message>
    <message>
        <source>%1	subject: %2	issuer: %3	valid until: %4</source>
        <translation>%1	サブジェクト: %2	発行者: %3	有効期限: %4</translation>
    </message>
    <message>
        <source>%1 has no pages</source>
        <translation>%1 にはページがありません</translation>
    </message>
    <message>
        <source>no PDF files to stamp</source>
        <translation>押印する PDF ファイルがありません</translation>
    </message>
    <message>
        <source>its copy %1 would replace the copy of %2; it is not stamped</source>
        <translation>コピー %1 が %2 のコピーを置き換えてしまうため、押印しません</translation>
    </message>
    <message>
        <source>%1 of %2 files done, %3 left</source>
        <translation>%2 ファイル中 %1 ファイル完了、残り %3</translation>
    </message>
    <message>
        <source>%1 of %2 files stamped into %3</source>
        <translation>%2 ファイル中 %1 ファイルに押印して %3 に保存しました</translation>
    </message>
    <message>
        <source>%1 of %2 files stamped into %3, %4 failed</source>
        <translation>%2 ファイル中 %1 ファイルに押印して %3 に保存しました。%4 ファイルは失敗しました</translation>
    </message>
    <message>
        <source>give only one of --png, --svg, --pdf, --onto and --list</source>
        <translation>--png、--svg、--pdf、--onto、--list のどれか一つだけを指定してください</translation>
    </message>
    <message>
        <source>give only one of --png, --svg, --pdf and --onto</source>
        <translation>--png、--svg、--pdf、--onto のどれか一つだけを指定してください</translation>
    </message>
    <message>
        <source>--date takes a day as YYYY-MM-DD, not %1</source>
        <translation>--date には日付を YYYY-MM-DD で指定してください (%1 ではなく)</translation>
    </message>
    <message>
        <source>--at takes X,Y in millimetres (0 to %1), not %2</source>
        <translation>--at には X,Y をミリメートル (0 から %1) で指定してください (%2 ではなく)</translation>
    </message>
    <message>
        <source>--size takes a diameter in millimetres from %1 to %2, not %3</source>
        <translation>--size には直径を %1 から %2 のミリメートルで指定してください (%3 ではなく)</translation>
    </message>
    <message>
        <source>--suffix takes a part of a file name, without /, not %1</source>
        <translation>--suffix にはファイル名の一部を / なしで指定してください (%1 ではなく)</translation>
    </message>
    <message>
        <source>--pages takes first, last, all or page numbers such as 1,3-5, not %1</source>
        <translation>--pages には first、last、all または 1,3-5 のようなページ番号を指定してください (%1 ではなく)</translation>
    </message>
    <message>
        <source>--corner takes top-left, top-right, bottom-left or bottom-right, not %1</source>
        <translation>--corner には top-left、top-right、bottom-left、bottom-right のどれかを指定してください (%1 ではなく)</translation>
    </message>
    <message>
        <source>--user takes 1 to %1, not %2</source>
        <translation>--user には 1 から %1 を指定してください (%2 ではなく)</translation>
    </message>
    <message>
        <source>the stamp of user N (1 to %1); default: the start-up user</source>
        <translation>ユーザー N (1 から %1) の印影。既定: 起動時のユーザー</translation>
    </message>
    <message>
        <source>the day in the date line, formatted by the user&apos;s date pattern;
default: today</source>
        <translation>日付行の日。ユーザーの日付パターンで書く。
既定: 今日</translation>
    </message>
    <message>
        <source>a PNG picture: the stamp as Set puts it on the clipboard</source>
        <translation>PNG 画像: セットでクリップボードに入る印影</translation>
    </message>
    <message>
        <source>--scale takes 1 to %1, not %2</source>
        <translation>--scale には 1 から %1 を指定してください (%2 ではなく)</translation>
    </message>
    <message>
        <source>the PNG K times as large (1 to %1), drawn smooth</source>
        <translation>PNG を K 倍 (1 から %1) の大きさで滑らかに描く</translation>
    </message>
    <message>
        <source>the PNG without its white background</source>
        <translation>白い背景なしの PNG</translation>
    </message>
    <message>
        <source>an SVG picture; texts stay text, no background</source>
        <translation>SVG 画像。文字は文字のまま、背景なし</translation>
    </message>
    <message>
        <source>a one-page PDF file holding the stamp; texts stay text</source>
        <translation>印影だけの 1 ページの PDF。文字は文字のまま</translation>
    </message>
    <message>
        <source>stamp a copy of IN.pdf (IN.pdf itself is never changed): a stamp
annotation added as an incremental update, the file&apos;s bytes kept</source>
        <translation>IN.pdf のコピーに押印する (IN.pdf 自体は変更しない)。
印影は増分更新で追加するスタンプ注釈で、元のバイトは保たれる</translation>
    </message>
    <message>
        <source>--page takes a page number from 1, not %1</source>
        <translation>--page には 1 以上のページ番号を指定してください (%1 ではなく)</translation>
    </message>
    <message>
        <source>the page to stamp, from 1; default: 1</source>
        <translation>押印するページ (1 から)。既定: 1</translation>
    </message>
    <message>
        <source>the pages to stamp: first, last, all, or numbers such as 1,3-5;
one annotation on each, all in one update</source>
        <translation>押印するページ: first、last、all、または 1,3-5 のような番号。
ページごとに注釈を一つ、すべて一回の更新で</translation>
    </message>
    <message>
        <source>the top-left corner of the stamp&apos;s square, in millimetres from the
top-left corner of the page as a viewer shows it;
default: the top-right corner, 15 mm from the top and right edges</source>
        <translation>印影を囲む正方形の左上の位置。ビューアーが表示するページの
左上からのミリメートル。
既定: 右上の隅、上端と右端から 15 mm</translation>
    </message>
    <message>
        <source>top-left, top-right, bottom-left or bottom-right: --at measures
from this corner of the page to the same corner of the stamp&apos;s
square, on portrait and landscape pages alike; default: top-left
with --at, else 15 mm from the top and right edges</source>
        <translation>top-left、top-right、bottom-left、bottom-right: --at を
ページのこの隅から印影の正方形の同じ隅まで測る。縦長でも
横長でも同じ。既定: --at があれば top-left、
なければ上端と右端から 15 mm</translation>
    </message>
    <message>
        <source>the diameter of the stamp&apos;s circle in millimetres, %1 to %2 (under
%1 mm its texts cannot be read); default: its size on a 96-dpi
screen (radius 35 pixels: 18.5 mm)</source>
        <translation>印影の円の直径 (ミリメートル、%1 から %2。%1 mm 未満では
文字が読めない)。既定: 96 dpi の画面での大きさ
(半径 35 ピクセル: 18.5 mm)</translation>
    </message>
    <message>
        <source>the stamped copy; written whole or not at all</source>
        <translation>押印したコピー。すべて書き込むか、まったく書き込まないか</translation>
    </message>
    <message>
        <source>sign the stamped copy: the stamp becomes the visible mark of a
digital signature made with a certificate of the NSS database</source>
        <translation>押印したコピーに署名する: 印影が NSS データベースの証明書で
作る電子署名の見える印になる</translation>
    </message>
    <message>
        <source>with --sign: the certificate, by nickname or subject common name;
default: the only one in the database</source>
        <translation>--sign と共に: 証明書をニックネームか主体の共通名で指定。
既定: データベースにある唯一の証明書</translation>
    </message>
    <message>
        <source>with --sign or --certs: the NSS database; default: ~/.pki/nssdb</source>
        <translation>--sign か --certs と共に: NSS データベース。既定: ~/.pki/nssdb</translation>
    </message>
    <message>
        <source>with --sign: the key&apos;s password is the file&apos;s first line; default:
asked on the terminal (three tries), never taken as an argument</source>
        <translation>--sign と共に: 鍵のパスワードはファイルの 1 行目。既定:
端末で尋ねる (3 回まで)。引数では決して受け取らない</translation>
    </message>
    <message>
        <source>list the certificates that can sign: nickname, subject, issuer,
valid until</source>
        <translation>署名できる証明書の一覧: ニックネーム、主体、発行者、
有効期限</translation>
    </message>
    <message>
        <source>stamp many files: --onto A.pdf B.pdf ... (a folder: its *.pdf files;
-: names read from standard input, one a line), each copy written
to DIR as NAME-stamped.pdf</source>
        <translation>多数のファイルに押印: --onto A.pdf B.pdf ... (フォルダー: その
*.pdf ファイル。-: 標準入力から 1 行に一つずつ読む名前)。
それぞれのコピーを DIR に NAME-stamped.pdf として書く</translation>
    </message>
    <message>
        <source>with --outdir: the copies are named NAME&lt;SUF&gt;.pdf; default: -stamped</source>
        <translation>--outdir と共に: コピーの名前を NAME&lt;SUF&gt;.pdf にする。既定: -stamped</translation>
    </message>
    <message>
        <source>draw the stamp into the page&apos;s content and rewrite the file instead
of adding an annotation: it cannot be moved or removed, and a
signed IN.pdf is refused</source>
        <translation>注釈を追加する代わりに、印影をページの内容に描き込んで
ファイルを書き直す: 印影は動かすことも消すこともできず、
署名のある IN.pdf は断る</translation>
    </message>
    <message>
        <source>print one line for each stamp annotation in IN.pdf: page, place
and size in mm, date, who, when, and whether Pellimo added it</source>
        <translation>IN.pdf のスタンプ注釈ごとに 1 行表示する: ページ、位置と
大きさ (mm)、日付、押印者、日時、Pellimo が追加したか</translation>
    </message>
    <message>
        <source>this text</source>
        <translation>この説明</translation>
    </message>
    <message>
        <source>unknown argument: %1</source>
        <translation>不明な引数です: %1</translation>
    </message>
    <message>
        <source>%1 needs a value</source>
        <translation>%1 には値が必要です</translation>
    </message>
    <message>
        <source>give %1 only once</source>
        <translation>%1 は一度だけ指定してください</translation>
    </message>
    <message>
        <source>--list takes no other options (%1)</source>
        <translation>--list には他のオプションを付けられません (%1)</translation>
    </message>
    <message>
        <source>give -o OUT.pdf for one file or --outdir DIR for many, not both</source>
        <translation>一つのファイルなら -o OUT.pdf、多数なら --outdir DIR を指定してください (両方は不可)</translation>
    </message>
    <message>
        <source>give --page or --pages, not both</source>
        <translation>--page か --pages のどちらかを指定してください (両方は不可)</translation>
    </message>
    <message>
        <source>--flatten stamps one page: give --page P, not --pages</source>
        <translation>--flatten は 1 ページにだけ押印します: --pages ではなく --page P を指定してください</translation>
    </message>
    <message>
        <source>--suffix goes with --outdir</source>
        <translation>--suffix は --outdir と共に使います</translation>
    </message>
    <message>
        <source>nothing to do: give --png, --svg, --pdf or --onto (see --help)</source>
        <translation>何もすることがありません: --png、--svg、--pdf、--onto のどれかを指定してください (--help を参照)</translation>
    </message>
    <message>
        <source>--sign stamps one page of one file: not with --outdir, --pages or --flatten</source>
        <translation>--sign は一つのファイルの 1 ページにだけ押印します: --outdir、--pages、--flatten とは使えません</translation>
    </message>
    <message>
        <source>--onto needs -o OUT.pdf</source>
        <translation>--onto には -o OUT.pdf が必要です</translation>
    </message>
    <message>
        <source>%1 go with --onto</source>
        <translation>%1 は --onto と共に使います</translation>
    </message>
    <message>
        <source>%1 go with --png</source>
        <translation>%1 は --png と共に使います</translation>
    </message>
    <message>
        <source>--size does not go with --png; use --scale</source>
        <translation>--size は --png と共に使えません。--scale を使ってください</translation>
    </message>
    <message>
        <source>Usage:
  pellimo-stamp [--user N] [--date YYYY-MM-DD] --png FILE [--scale K] [--transparent]
  pellimo-stamp [--user N] [--date YYYY-MM-DD] --svg FILE [--size MM]
  pellimo-stamp [--user N] [--date YYYY-MM-DD] --pdf FILE [--size MM]
  pellimo-stamp [--user N] [--date YYYY-MM-DD] --onto IN.pdf [--page P | --pages WHICH]
                [--corner CORNER] [--at X,Y] [--size MM] [--flatten] -o OUT.pdf
  pellimo-stamp [options as above] --onto IN.pdf [--page P] --sign [--cert NAME]
                [--nssdb DIR] [--password-file FILE] -o OUT.pdf
  pellimo-stamp --certs [--nssdb DIR]
  pellimo-stamp [options as above] --onto IN.pdf|DIR|- [IN2.pdf ...] --outdir DIR
                [--suffix SUF]
  pellimo-stamp --list IN.pdf

Draws a user&apos;s date stamp into a file, or onto a page of a PDF file. Needs no display
and never touches the clipboard.

</source>
        <translation>使い方:
  pellimo-stamp [--user N] [--date YYYY-MM-DD] --png FILE [--scale K] [--transparent]
  pellimo-stamp [--user N] [--date YYYY-MM-DD] --svg FILE [--size MM]
  pellimo-stamp [--user N] [--date YYYY-MM-DD] --pdf FILE [--size MM]
  pellimo-stamp [--user N] [--date YYYY-MM-DD] --onto IN.pdf [--page P | --pages WHICH]
                [--corner CORNER] [--at X,Y] [--size MM] [--flatten] -o OUT.pdf
  pellimo-stamp [上と同じオプション] --onto IN.pdf [--page P] --sign [--cert NAME]
                [--nssdb DIR] [--password-file FILE] -o OUT.pdf
  pellimo-stamp --certs [--nssdb DIR]
  pellimo-stamp [上と同じオプション] --onto IN.pdf|DIR|- [IN2.pdf ...] --outdir DIR
                [--suffix SUF]
  pellimo-stamp --list IN.pdf

ユーザーの日付印をファイルに描くか、PDF ファイルのページに押印します。
ディスプレイは不要で、クリップボードには触れません。

</translation>
    </message>
    <message>
        <source>
The stamp and the date pattern are read from Pellimo&apos;s data folder (the program folder
when it is writable or holds pellimo.ini, otherwise the user&apos;s data folder); nothing is
written there. The stamp is at least %1 mm across.

--onto copies IN.pdf byte for byte and appends one incremental update holding a Stamp
annotation (/Subtype /Stamp): a viewer shows and prints it, can move or delete it, and
reads who stamped (the stamp&apos;s name row, or the user&apos;s name when that row is empty), the
date line, the user number and the time of stamping. A signature already in IN.pdf stays
valid. --flatten draws the stamp into the page instead and rewrites the file; it refuses a
signed IN.pdf, naming the signature that would break.

A damaged PDF that can be repaired (a wrong cross-reference, a cut-off end) is stamped as a
repaired, rewritten copy, with one line on standard error saying so and status 0, unless it
is signed (then it is refused). A PDF encrypted with an owner password only, whose
permissions allow annotations, is stamped and stays encrypted; one that needs a password
to be opened, or whose permissions forbid annotations (or, with --flatten, changes), is
refused.

Refused with status 1 and no file written: a PDF that cannot be read, a page that does not
exist, a stamp that does not fit on the page, OUT.pdf equal to IN.pdf, a damaged data file,
a date before the first Japanese era when the date pattern writes the era, a stamp whose
design cannot be drawn, an output that is no regular file (a device, a FIFO) and a full
disk. A FILE or OUT.pdf of - is standard output. Refusals found in the options or the
data files come before any PDF is read.

With --sign the stamp is the visible mark of a digital signature made with a certificate
of the NSS database; import one first with: pk12util -i cert.p12 -d sql:$HOME/.pki/nssdb
An encrypted or damaged PDF, no database or certificate, an ambiguous --cert, a wrong
password, or a certificate that is expired, not yet valid or not for signatures is refused
the same way; so is -o - (the signature is made over the file as written).

With --outdir each file is stamped as one --onto would; a file that fails is named on
standard error and the others are still stamped; a summary line ends the run, and on a
terminal a progress line shows while it runs for more than a second.
Exit status: 0 done (every file stamped), 1 refused or failed.
</source>
        <translation>
印影と日付パターンは Pellimo のデータフォルダー (書き込めるか pellimo.ini があれば
プログラムのフォルダー、なければユーザーのデータフォルダー) から読み、そこには何も
書き込みません。印影の直径は %1 mm 以上です。

--onto は IN.pdf をバイト単位でそのままコピーし、スタンプ注釈 (/Subtype /Stamp) を
入れた増分更新を一つ追加します。ビューアーはそれを表示・印刷し、動かしたり消したり
でき、押印者 (印影の名前の行、空ならユーザー名)、日付行、ユーザー番号、押印日時を
読めます。IN.pdf にすでにある署名は有効なままです。--flatten は代わりに印影をページに
描き込んでファイルを書き直します。署名のある IN.pdf は、無効になる署名を示して断ります。

修復できる壊れた PDF (相互参照の誤り、途中で切れた終わり) は、修復して書き直した
コピーに押印し、そのことを標準エラーに 1 行で示して状態 0 で終わります。ただし署名が
あれば断ります。所有者パスワードだけで保護され、注釈が許可されている PDF は押印して
暗号化を保ちます。開くのにパスワードが要るもの、注釈 (--flatten では変更) が許可されて
いないものは断ります。

状態 1 で断り、ファイルを書き込まないもの: 読めない PDF、存在しないページ、ページに
収まらない印影、IN.pdf と同じ OUT.pdf、壊れたデータファイル、日付パターンが元号を
書くときの最初の元号より前の日付、描けない印影の設定、通常のファイルでない出力先
(デバイス、FIFO)、ディスクの空き不足。FILE や OUT.pdf に - を指定すると標準出力です。
オプションやデータファイルで分かる拒否は、PDF を読む前に伝えます。

--sign では、印影が NSS データベースの証明書で作る電子署名の見える印になります。
証明書は先に取り込んでください: pk12util -i cert.p12 -d sql:$HOME/.pki/nssdb
暗号化された PDF や壊れた PDF、データベースや証明書がない、--cert が曖昧、
パスワードが違う、証明書が期限切れ・まだ有効でない・署名用でない場合も同じように
断ります。-o - も断ります (署名は書き込んだファイルに対して作るため)。

--outdir では、各ファイルに一つの --onto と同じように押印します。失敗したファイルは
標準エラーにその名前を示し、他のファイルへの押印は続けます。最後に集計を 1 行表示し、
端末では 1 秒を超えて動いている間、進み具合を表示します。
終了状態: 0 完了 (すべてのファイルに押印)、1 拒否または失敗。
</translation>
    </message>
    <message>
        <source>--date %1 lies before %2, the first day of the Japanese eras the calendar knows: the date pattern %3 writes the era, so nothing is written</source>
        <translation>--date %1 は、暦データが知る最初の元号の初日 %2 より前です。日付パターン %3 は元号を書くため、何も書き込みません</translation>
    </message>
    <message>
        <source>(unknown)</source>
        <translation>(不明)</translation>
    </message>
    <message>
        <source>%1 cannot be read (the file is damaged): the stamp of user %2 is not drawn and nothing is written</source>
        <translation>%1 を読めません (ファイルが壊れています): ユーザー %2 の印影は描かず、何も書き込みません</translation>
    </message>
    <message>
        <source>%1 is not a folder: --outdir takes an existing folder</source>
        <translation>%1 はフォルダーではありません: --outdir には既存のフォルダーを指定してください</translation>
    </message>
    <message>
        <source>the stamp cannot be drawn from its design: %1</source>
        <translation>この設定からは印影を描けません: %1</translation>
    </message>
    <message>
        <source>the stamp is too large for a PNG picture</source>
        <translation>印影が PNG 画像には大きすぎます</translation>
    </message>
    <message>
        <source>the stamp could not be written as a picture</source>
        <translation>印影を画像として書き込めませんでした</translation>
    </message>
    <message>
        <source>%1 is a symbolic link; Pellimo does not write through it. Choose another name.</source>
        <translation>%1 はシンボリックリンクです。リンクの先には書き込みません。別の名前を選んでください。</translation>
    </message>
    <message>
        <source>%1 is not a regular file, so it is not replaced. Choose another name.</source>
        <translation>%1 は普通のファイルではないため、置き換えません。別の名前を選んでください。</translation>
    </message>
    <message>
        <source>The folder %1 does not exist.</source>
        <translation>フォルダー %1 がありません。</translation>
    </message>
    <message>
        <source>The folder %1 cannot be written (no permission to write, or it is read-only). Choose another folder.</source>
        <translation>フォルダー %1 には書き込めません（書き込む権限がないか、読み取り専用です）。別のフォルダーを選んでください。</translation>
    </message>
    <message>
        <source>%1 already exists. Replace it?</source>
        <translation>%1 はすでにあります。置き換えますか?</translation>
    </message>
    <message>
        <source>era name</source>
        <translation>元号</translation>
    </message>
    <message>
        <source>first character of the era name</source>
        <translation>元号の 1 文字目</translation>
    </message>
    <message>
        <source>era initial in Latin letters</source>
        <translation>元号のローマ字 1 文字</translation>
    </message>
    <message>
        <source>year of the era (2 digits)</source>
        <translation>元号の年（2 桁）</translation>
    </message>
    <message>
        <source>year of the era</source>
        <translation>元号の年</translation>
    </message>
    <message>
        <source>Western year</source>
        <translation>西暦の年</translation>
    </message>
    <message>
        <source>Western year (last 2 digits)</source>
        <translation>西暦の年（下 2 桁）</translation>
    </message>
    <message>
        <source>month (2 digits)</source>
        <translation>月（2 桁）</translation>
    </message>
    <message>
        <source>month</source>
        <translation>月</translation>
    </message>
    <message>
        <source>day (2 digits)</source>
        <translation>日（2 桁）</translation>
    </message>
    <message>
        <source>day</source>
        <translation>日</translation>
    </message>
    <message>
        <source>day of the week</source>
        <translation>曜日</translation>
    </message>
    <message>
        <source>Symbols the pattern can use (examples are today&apos;s date):</source>
        <translation>書式に使える記号（例は今日の日付）:</translation>
    </message>
    <message>
        <source>Any other character is written as it is.</source>
        <translation>ほかの文字はそのまま出ます。</translation>
    </message>
    <message>
        <source>Example: %1 → %2</source>
        <translation>例: %1 → %2</translation>
    </message>
    <message>
        <source>The stamp is on the clipboard.</source>
        <translation>印影をクリップボードにコピーしました。</translation>
    </message>
    <message>
        <source>Radius of the stamp&apos;s circle (pixels)</source>
        <translation>印影の円の半径（pixel）</translation>
    </message>
    <message>
        <source>Width of the circle and the dividing lines (pixels)</source>
        <translation>円と区切り線の太さ（pixel）</translation>
    </message>
    <message>
        <source>Height of the organisation band: percent of the diameter from the top of the circle</source>
        <translation>組織名の欄の高さ: 円の上から直径の何 % か</translation>
    </message>
    <message>
        <source>Height of the name band: percent of the diameter from the bottom of the circle</source>
        <translation>氏名の欄の高さ: 円の下から直径の何 % か</translation>
    </message>
    <message>
        <source>Moves the organisation name up or down (pixels)</source>
        <translation>組織名を上下に動かします（pixel）</translation>
    </message>
    <message>
        <source>Moves the date up or down (pixels)</source>
        <translation>日付を上下に動かします（pixel）</translation>
    </message>
    <message>
        <source>Moves name 1 up or down (pixels)</source>
        <translation>氏名１を上下に動かします（pixel）</translation>
    </message>
    <message>
        <source>Moves name 2 up or down (pixels)</source>
        <translation>氏名２を上下に動かします（pixel）</translation>
    </message>
    <message>
        <source>Moves the organisation name left or right (pixels)</source>
        <translation>組織名を左右に動かします（pixel）</translation>
    </message>
    <message>
        <source>Moves the date left or right (pixels)</source>
        <translation>日付を左右に動かします（pixel）</translation>
    </message>
    <message>
        <source>Moves name 1 left or right (pixels)</source>
        <translation>氏名１を左右に動かします（pixel）</translation>
    </message>
    <message>
        <source>Moves name 2 left or right (pixels)</source>
        <translation>氏名２を左右に動かします（pixel）</translation>
    </message>
    <message>
        <source>Right-click to save the stamp as a picture or to stamp a PDF.</source>
        <translation>右クリックで、印影を画像として保存したり、PDF に押印したりできます。</translation>
    </message>
    <message>
        <source>%1 cannot be opened: %2</source>
        <translation>%1 を開けません: %2</translation>
    </message>
    <message>
        <source>%1 is not a PDF file.</source>
        <translation>%1 は PDF ファイルではありません。</translation>
    </message>
    <message>
        <source>The stamped PDF was saved: %1</source>
        <translation>押印した PDF を保存しました: %1</translation>
    </message>
    <message>
        <source>Open folder</source>
        <translation>フォルダーを開く</translation>
    </message>
    <message numerus="yes">
        <source>This PDF has %n page(s).</source>
        <translation>
            <numerusform>この PDF は %n ページです。</numerusform>
        </translation>
    </message>
    <message>
        <source>its name is not UTF-8 text. Rename the file to UTF-8 (for example with convmv) and open it again.</source>
        <translation>ファイル名が UTF-8 の文字列ではありません。convmv などでファイル名を UTF-8 に変えてから、もう一度開いてください。</translation>
    </message>
</context>
</TS>
