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
</context>
</TS>
