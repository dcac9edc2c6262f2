#!/usr/bin/env python3
"""Makes the benchmarks' corpus: catalogue pages in the catalogue's format,
code lists, data directories with dictionaries, and Setting.ini.

The corpus is made at build time into the build directory and never
committed. It is random but fixed by --seed, so every build makes the same
bytes.

Layout of OUT:
  catalogue/index.tsv        ADDRESS<TAB>FILE, as the stand-in host replays
  catalogue/search/*.html    one search page per code
  catalogue/details/*.html   detail pages of every size in --page-sizes
  catalogue/authors/*.html   author pages
  codes-N.txt                the first N codes, joined with CR LF
  data-L/                    AuthDB.dat of L lines, LabelsDB.dat of L/10,
                             PubDB.dat of L/5, rivet.dat
  pages.tsv                  SIZE<TAB>FILE: one detail page per target size
  corpus.tsv                 what the corpus holds, for the benchmarks
"""

import argparse
import os
import random

BASE_SIZES = "20480,51200,102400,153600,204800"

# Name parts. Names made of kanji and hiragana have a key that is the name
# without its spaces, so the generator can write matching dictionary lines.
FAMILY = ("山田 佐藤 鈴木 高橋 田中 伊藤 渡辺 中村 小林 加藤 吉田 山本 松本 "
          "井上 木村 林 清水 山崎 森 池田 橋本 阿部 石川 桐島 水無月 霧生 日向 "
          "榊 小川 宮沢 藤原 岡田 長谷川 村上 近藤 坂本 遠藤 青木 藤井 西村").split()
GIVEN = ("太郎 花子 一郎 れい ユウ ソウ まな リョウ 葉子 賢治 真一 美咲 翔 "
         "さくら 健 陽菜 大輔 結衣 蓮 あおい 拓海 千尋 直樹 七海 悠人 凛").split()
LATIN = ("John Smith,Anna Berg,Marc Dubois,Lena Fischer,Paul Martin,"
         "Sara Lind,Omar Haddad,Ivy Chen,Noah Park,Mia Rossi").split(",")
ROLES = ["著", "著", "著", "文", "イラスト", "漫画", "原作", "訳", "編"]
PUBLISHERS = ["青嵐社", "白鷺書院", "北斗出版", "月影書房", "みなと舎",
              "朝霧書店", "桜木出版", "蒼天堂", "風見書房", "千歳社"]
LABELS = ["せいらん文庫", "白鷺ノベルス", "ほくと新書", "月影コミックス",
          "みなと選書", "朝霧文庫", "桜木ブックス", "蒼天堂叢書"]
SIZES = ["文庫", "新書", "B6判", "A5", "19cm", "21cm", "四六判"]
WORDS = ("星 町 物語 竜 料理番 海 風 夜 郵便局 図書館 記憶 約束 旅 猫 庭 "
         "光 影 季節 手紙 時計 森 鏡 雨 夏 冬 歌 街角 灯台 王国 魔法").split()
SENTENCE = [
    "星の降る夜にだけ開く郵便局を舞台にした連作ファンタジー。",
    "失われた記憶をめぐる、少し不思議で温かな物語。",
    "「このミステリーがすごい！」大賞受賞作家による待望の新作。",
    "全国の書店員が選んだ、いま一番読んでほしい一冊。",
    "シリーズ累計１００万部突破——話題の第二部がついに開幕。",
    "Ｗｅｂで話題沸騰の人気作が、大幅加筆のうえ待望の書籍化〜",
    "巻末に書き下ろし短編「夏の庭」&amp;作者インタビューを収録。",
    "世界は、ほんの少しの勇気で変えられる。",
]
GENRES = ("文芸 ミステリー ＳＦ ファンタジー ライトノベル コミック 絵本 児童書 "
          "ビジネス 経済 歴史 地理 科学 医学 料理 旅行 スポーツ 芸術 音楽 "
          "語学 辞典 雑誌 ムック 写真集 エッセイ 詩歌 評論 哲学 宗教 教育").split()


def isbn13(body12):
    total = sum(int(d) * (1 if i % 2 == 0 else 3) for i, d in enumerate(body12))
    return body12 + str((10 - total % 10) % 10)


def write(path, data):
    os.makedirs(os.path.dirname(path), exist_ok=True)
    with open(path, "wb") as f:
        f.write(data)


def crlf(lines):
    return "".join(line + "\r\n" for line in lines)


class Person:
    def __init__(self, rng, number):
        self.number = number
        if rng.random() < 0.15:
            self.name = rng.choice(LATIN)
            self.reading = self.name
            self.kanji = False
        else:
            self.name = rng.choice(FAMILY) + " " + rng.choice(GIVEN)
            self.reading = "ヤマダ, タロウ"
            self.kanji = True
        self.born = str(rng.randint(1930, 2000))
        self.died = "-" if rng.random() < 0.8 else str(rng.randint(2001, 2023))

    def key(self):
        return self.name.replace(" ", "")


class Book:
    def __init__(self, rng, number, people):
        self.number = number
        self.title = "".join(rng.choice(WORDS) for _ in range(rng.randint(2, 4)))
        if rng.random() < 0.5:
            self.title += " 第%d巻" % rng.randint(1, 30)
        self.reading = "ホシフル マチ ノ モノガタリ"
        self.authors = rng.sample(people, rng.randint(1, 3))
        self.roles = [rng.choice(ROLES) for _ in self.authors]
        self.publisher = rng.choice(PUBLISHERS)
        self.series = rng.choice(LABELS) if rng.random() < 0.7 else ""
        self.size = rng.choice(SIZES)
        self.date = "%d.%d" % (rng.randint(1990, 2024), rng.randint(1, 12))
        self.pages = "%dp" % rng.randint(64, 640)
        self.description = "<br>".join(
            rng.choice(SENTENCE) for _ in range(rng.randint(2, 6)))


def head(book):
    # The inline data and style blocks real pages carry: long lines that the
    # reader scans but never takes a row from.
    return [
        "<!DOCTYPE html>",
        '<html lang="ja">',
        "<head>",
        '<meta charset="utf-8">',
        "<title>%s - Tomefinder</title>" % book.title,
        '<meta name="description" content="%s">' % book.description[:80],
        '<link rel="stylesheet" href="/css/tomefinder.css">',
        '<script type="application/ld+json">{"@context":"https://schema.org",'
        '"@type":"Book","name":"%s","author":[%s],"publisher":"%s"}</script>'
        % (book.title, ",".join('"%s"' % a.name for a in book.authors),
           book.publisher),
        "</head>",
        "<body>",
        '<header class="l-header"><a href="/">Tomefinder</a>'
        '<form action="/pro/" method="get"><input type="text" name="i" '
        'placeholder="ISBN・書名・著者名で検索"></form></header>',
    ]


def navigation(rng):
    lines = ['<nav class="l-nav">', '<ul class="l-nav__genres">']
    for number, genre in enumerate(GENRES):
        lines.append('<li class="l-nav__item"><a href="/genre/%03d">%s</a>'
                     '</li>' % (number, genre))
    lines += ["</ul>", "</nav>"]
    return lines


def rows(book, isbn):
    statement = " ; ".join("%s %s" % (a.name, r)
                           for a, r in zip(book.authors, book.roles))
    lines = [
        '<main class="l-main">',
        '<div class="p-book">',
        '<div class="p-book__cover"><img src="/images/book/%s.jpg" alt="">'
        '</div>' % isbn,
        '<h1 class="p-book__title">%s</h1>' % book.title,
        '<p class="p-C">%s</p>' % statement,
        '<table class="p-book__table">',
        "<tr>", "<th>書名</th>", "<td>%s</td>" % book.title, "</tr>",
        "<tr>", "<th>書名ヨミ</th>", "<td>%s</td>" % book.reading, "</tr>",
        "<tr>", "<th>巻冊次</th>", "<td>", "-</td>", "</tr>",
    ]
    if book.series:
        lines += ["<tr>", "<th>シリーズ名</th>", "<td>", book.series, "</td>",
                  "</tr>"]
    lines += ["<tr>", "<th>著作者名</th>", "<td>"]
    links = ['<a href="/tomefinder/authors/%d">%s</a>' % (a.number, a.name)
             for a in book.authors]
    lines += [link + "," for link in links[:-1]] + [links[-1]]
    lines += [
        "</td>", "</tr>",
        "<tr>", "<th>出版元</th>", "<td>", "%s</td>" % book.publisher, "</tr>",
        "<tr>", "<th>刊行年月</th>", "<td>%s</td>" % book.date, "</tr>",
        "<tr>", "<th>ページ数</th>", "<td>%s</td>" % book.pages, "</tr>",
        "<tr>", "<th>大きさ</th>", "<td>%s</td>" % book.size, "</tr>",
        "<tr>", "<th>ISBN</th>", "<td>%s</td>" % isbn, "</tr>",
        "</table>",
        '<div class="p-book__text">',
        "<h2>内容紹介</h2>",
        '<div id="jsid-detailMainText">',
        book.description,
        "</div>",
        "</div>",
        "</div>",
    ]
    return lines


def related(rng, books, count):
    # Other books of the catalogue, as the page lists them below the book.
    lines = ['<section class="p-related">', "<h2>この本を読んだ人はこんな本も"
             "読んでいます</h2>", '<ul class="p-related__list">']
    for _ in range(count):
        other = rng.choice(books)
        lines.append(
            '<li class="p-related__item"><a href="/tomefinder/details/%d">'
            '<img src="/images/thumb/%d.jpg" alt="" loading="lazy">'
            '<span class="p-related__title">%s</span></a>'
            '<span class="p-related__author">%s ほか</span>'
            '<span class="p-related__price">&yen;%d&nbsp;(税込)</span></li>'
            % (other.number, other.number, other.title,
               other.authors[0].name, rng.randint(500, 3000)))
    lines += ["</ul>", "</section>"]
    return lines


def footer():
    return [
        "</main>",
        '<footer class="l-footer">',
        '<ul class="l-footer__links">',
        '<li><a href="/about">Tomefinderについて</a></li>',
        '<li><a href="/help">ヘルプ</a></li>',
        '<li><a href="/terms">利用規約</a></li>',
        "</ul>",
        '<p class="l-footer__copy">&copy; Tomefinder</p>',
        "</footer>",
        '<script src="/js/tomefinder.js"></script>',
        "</body>",
        "</html>",
    ]


def detail_page(rng, book, isbn, books, target):
    """The page's UTF-8 bytes, grown with related books to target bytes."""
    fixed = head(book) + navigation(rng) + rows(book, isbn)
    count = 0
    while True:
        lines = fixed + related(random.Random(book.number), books, count) + \
            footer()
        data = crlf(lines).encode("utf-8")
        if len(data) >= target:
            return data
        # Each related item is about 330 bytes.
        count += max(1, (target - len(data)) // 330)


def author_page(person):
    lines = [
        "<!DOCTYPE html>", '<html lang="ja">', "<head>",
        '<meta charset="utf-8">',
        "<title>%s - Tomefinder</title>" % person.name,
        '<link rel="stylesheet" href="/css/tomefinder.css">', "</head>",
        "<body>",
        '<header class="l-header"><a href="/">Tomefinder</a></header>',
        '<main class="l-main">',
        '<h1 class="p-person__name">%s</h1>' % person.name,
        '<table class="p-person__table">',
        "<tr>", "<th>人物名</th>", "<td>%s</td>" % person.name, "</tr>",
        "<tr>", "<th>人物名ヨミ</th>", "<td>", "%s</td>" % person.reading,
        "</tr>",
        "<tr>", "<th>生年</th>", "<td>", "%s</td>" % person.born, "</tr>",
        "<tr>", "<th>没年</th>", "<td>", "%s</td>" % person.died, "</tr>",
        "</table>", "</main>", "</body>", "</html>",
    ]
    return crlf(lines).encode("utf-8")


def search_page(book_number, book):
    lines = [
        "<!DOCTYPE html>", '<html lang="ja">', "<head>",
        '<meta charset="utf-8">', "<title>検索結果 - Tomefinder</title>",
        "</head>", "<body>", '<main class="l-main">',
        '<p class="p-count">1件</p>', '<ol class="p-results">',
        '<li class="p-result"><a href="/tomefinder/details/%d">%s / %s</a>'
        '</li>' % (book_number, book.title, book.authors[0].name),
        "</ol>", "</main>", "</body>", "</html>",
    ]
    return crlf(lines).encode("utf-8")


def dictionaries(rng, lines, people, books, codes):
    """AuthDB, LabelsDB and PubDB as code page 932 bytes."""
    kanji_people = [p for p in people if p.kanji]
    wanted = [p for p in kanji_people if rng.random() < 0.5]
    authors = []
    for n in range(lines):
        family, given = rng.choice(FAMILY), rng.choice(GIVEN)
        name = "%s%s%d" % (family, given, n)
        note = rng.choice(["", "", "小説家", "%d-" % rng.randint(1930, 2000)])
        authors.append("|%s|%s %s%d|%s|%s|" % (name, family, given, n,
                                                "ヤマダ タロウ", note))
    for person in wanted:
        authors.insert(rng.randrange(len(authors) + 1),
                       "|%s|%s|%s|%s|" % (person.key(), person.name,
                                          "ヤマダ タロウ", "作家"))
    del authors[lines:]

    labels = []
    for n in range(max(1, lines // 10)):
        labels.append("|%s|ﾚｰﾍﾞﾙ%d|レーベル%d" % (rng.choice(PUBLISHERS), n, n))
    for label in LABELS[::2]:
        labels.insert(rng.randrange(len(labels) + 1),
                      "|%s|%s|%s（新装版）" % (rng.choice(PUBLISHERS), label,
                                           label))
    del labels[max(1, lines // 10):]

    publishers = []
    prefixes = sorted({code[4:8] for code in codes})
    for n in range(max(1, lines // 5)):
        publishers.append("|%d|出版社%d" % (100000 + n * 7 % 900000, n))
    for prefix in prefixes:
        publishers.insert(rng.randrange(len(publishers) + 1),
                          "|%s|%s" % (prefix, rng.choice(PUBLISHERS)))
    del publishers[max(1, lines // 5):]
    encode = lambda text: crlf(text).encode("cp932")
    return encode(authors), encode(labels), encode(publishers)


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("--out", required=True)
    parser.add_argument("--settings", help="where to write Setting.ini")
    parser.add_argument("--page-sizes", default=BASE_SIZES,
                        help="detail page sizes in bytes, comma-separated")
    parser.add_argument("--codes", default="10,100,1000")
    parser.add_argument("--lines", default="1000,10000,100000")
    parser.add_argument("--books", type=int, default=40,
                        help="distinct detail pages behind the codes")
    parser.add_argument("--seed", type=int, default=8)
    args = parser.parse_args()

    rng = random.Random(args.seed)
    sizes = [int(s) for s in args.page_sizes.split(",")]
    code_counts = [int(s) for s in args.codes.split(",")]
    line_counts = [int(s) for s in args.lines.split(",")]
    out = args.out
    cat = os.path.join(out, "catalogue")

    people = [Person(rng, 3000 + n) for n in range(args.books * 2)]
    books = [Book(rng, 1000000 + n, people) for n in range(args.books)]
    # The codes' books: page sizes spread evenly between the smallest and
    # the largest size.
    low, high = min(sizes), max(sizes)
    index = ["# The benchmarks' catalogue: address path and query, then file."]
    for n, book in enumerate(books):
        target = low + (high - low) * n // max(1, len(books) - 1)
        name = "details/%d.html" % book.number
        write(os.path.join(cat, name),
              detail_page(rng, book, "978400000000", books, target))
        index.append("/tomefinder/details/%d\t%s" % (book.number, name))
    pages = []
    for size in sizes:
        book = books[size % len(books)]
        name = "details/size-%d.html" % size
        write(os.path.join(cat, name),
              detail_page(rng, book, "978400000000", books, size))
        pages.append("%d\t%s" % (size, os.path.join("catalogue", name)))
    for person in people:
        name = "authors/%d.html" % person.number
        write(os.path.join(cat, name), author_page(person))
        index.append("/tomefinder/authors/%d\t%s" % (person.number, name))

    codes = []
    for n in range(max(code_counts)):
        prefix = rng.choice(["8190", "7763", "8652", "9071", "3371", "5442"])
        codes.append(isbn13("9784%s%04d" % (prefix, n % 10000)))
    codes = list(dict.fromkeys(codes))
    for code_number, code in enumerate(codes):
        book_number = code_number % len(books)
        name = "search/%s.html" % code
        write(os.path.join(cat, name),
              search_page(books[book_number].number, books[book_number]))
        index.append("/pro/?i=%s\t%s" % (code, name))
    write(os.path.join(cat, "index.tsv"),
          ("\n".join(index) + "\n").encode("utf-8"))
    for count in code_counts:
        write(os.path.join(out, "codes-%d.txt" % count),
              "\r\n".join(codes[:count]).encode("ascii"))

    for lines in line_counts:
        authors, labels, publishers = dictionaries(
            random.Random(args.seed + lines), lines, people, books, codes)
        data = os.path.join(out, "data-%d" % lines)
        write(os.path.join(data, "AuthDB.dat"), authors)
        write(os.path.join(data, "LabelsDB.dat"), labels)
        write(os.path.join(data, "PubDB.dat"), publishers)
        write(os.path.join(data, "rivet.dat"), b"TOMEFINDER1=1\r\n")

    write(os.path.join(out, "pages.tsv"), ("\n".join(pages) + "\n").encode())
    manifest = ["codes\t" + ",".join(map(str, code_counts)),
                "lines\t" + ",".join(map(str, line_counts)),
                "page_sizes\t" + ",".join(map(str, sizes))]
    write(os.path.join(out, "corpus.tsv"), ("\n".join(manifest) + "\n").encode())
    if args.settings:
        write(args.settings, crlf(["[Entry]", "PurachaseSet=購入", "TaxSet=1",
                                   "ReadSet=未読"]).encode("cp932"))


if __name__ == "__main__":
    main()
