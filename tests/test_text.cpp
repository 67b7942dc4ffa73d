#include "AtomicFile.h"
#include "Cp1251.h"
#include "IniDocument.h"
#include "NumberFormat.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QtTest>

#include <cmath>
#include <limits>
#include <csignal>
#include <sys/resource.h>

class TestText : public QObject
{
    Q_OBJECT

private slots:
    void cp1251RoundTripsEveryByte();
    void cp1251KnownLetters();

    void formatReal_data();
    void formatReal();
    void formatForScriptUsesDot();
    void formatRoundTripsThroughParse();

    void parseReal_data();
    void parseReal();
    void parseInt_data();
    void parseInt();

    void iniRead_data();
    void iniRead();
    void iniValueCutTo2047();
    void iniWriteKeepsOrderAndOtherLines();
    void iniWriteNewlineInValue();
    void iniMissingFile();

    void atomicWriteFailureKeepsOldFile();
};

void TestText::cp1251RoundTripsEveryByte()
{
    QByteArray all;
    for (int b = 0; b < 256; ++b)
        all.append(char(b));
    const QString text = cp1251::decode(all);
    QCOMPARE(text.size(), 256);
    QCOMPARE(cp1251::encode(text), all);
    // no two bytes share a character
    QSet<QChar> seen(text.begin(), text.end());
    QCOMPARE(seen.size(), 256);
}

void TestText::cp1251KnownLetters()
{
    QCOMPARE(cp1251::encode(u"Н_Pole"), QByteArray("\xCD_Pole"));
    QCOMPARE(cp1251::encode(u"Описание файла"),
             QByteArray("\xCE\xEF\xE8\xF1\xE0\xED\xE8\xE5 \xF4\xE0\xE9\xEB\xE0"));
    QCOMPARE(cp1251::decode("\xA8\xB8\xB9"), QStringLiteral(u"Ёё№"));
    QCOMPARE(cp1251::encode(u"€日"), QByteArray("\x88?"));
    QCOMPARE(cp1251::foldCase(0xCD), 0xED);  // Н -> н
    QCOMPARE(cp1251::foldCase(0xA8), 0xB8);  // Ё -> ё
    QCOMPARE(cp1251::foldCase('H'), 'h');
    // the fold table agrees with Unicode's lower case for every byte
    for (int b = 0; b < 256; ++b) {
        const QByteArray one(1, char(b));
        const QByteArray lower = cp1251::encode(cp1251::decode(one).toLower());
        QCOMPARE(int(cp1251::foldCase(uchar(b))), int(uchar(lower[0])));
    }
}

void TestText::formatReal_data()
{
    QTest::addColumn<double>("value");
    QTest::addColumn<char>("sep");
    QTest::addColumn<QString>("text");
    QTest::newRow("1.25 comma") << 1.25 << ',' << "1,25";
    QTest::newRow("1.25 dot") << 1.25 << '.' << "1.25";
    QTest::newRow("zero") << 0.0 << ',' << "0";
    QTest::newRow("negative zero") << -0.0 << ',' << "0";
    QTest::newRow("5E-5") << 5e-5 << ',' << "5E-5";
    QTest::newRow("0.0001 stays fixed") << 0.0001 << ',' << "0,0001";
    QTest::newRow("1E15") << 1e15 << ',' << "1E15";
    QTest::newRow("below 1E15 fixed") << 999999999999999.0 << ',' << "999999999999999";
    QTest::newRow("-2.5E-7") << -2.5e-7 << ',' << "-2,5E-7";
    QTest::newRow("1.5E20") << 1.5e20 << '.' << "1.5E20";
    QTest::newRow("latitude comma") << 53.905266 << ',' << "53,905266";
    QTest::newRow("latitude dot") << 53.905266 << '.' << "53.905266";
    QTest::newRow("15 digits") << (1.0 / 3.0) << ',' << "0,333333333333333";
    QTest::newRow("0.1+0.2") << (0.1 + 0.2) << '.' << "0.3";
    QTest::newRow("integer") << 65535.0 << ',' << "65535";
    QTest::newRow("thousandths") << (2 + 350 / 1000.0) << ',' << "2,35";
    QTest::newRow("rounds up a digit") << 9.9999999999999999 << '.' << "10";
    QTest::newRow("negative") << -12.5 << ',' << "-12,5";
    QTest::newRow("tiny") << 1.234e-300 << '.' << "1.234E-300";
    QTest::newRow("nan") << std::nan("") << '.' << "NAN";
    QTest::newRow("inf") << -std::numeric_limits<double>::infinity() << '.' << "-INF";
}

void TestText::formatReal()
{
    QFETCH(double, value);
    QFETCH(char, sep);
    QFETCH(QString, text);
    QCOMPARE(numfmt::formatReal(value, sep), text);
}

void TestText::formatForScriptUsesDot()
{
    numfmt::setDecimalSeparator(',');
    QCOMPARE(numfmt::formatRealForScript(27.553541), QStringLiteral("27.553541"));
    QCOMPARE(numfmt::formatReal(27.553541), QStringLiteral("27,553541"));
    numfmt::setDecimalSeparator('.');
    QCOMPARE(numfmt::formatReal(27.553541), QStringLiteral("27.553541"));
}

void TestText::formatRoundTripsThroughParse()
{
    // What is written with 15 digits reads back as the same 15 digits.
    const double values[] = {53.9052661234, 27.5535, 0.001, 123456.789, 5e-5, 7.25e18};
    for (double v : values) {
        const QString t = numfmt::formatReal(v, ',');
        const double back = numfmt::parseReal(t.toLatin1(), -1.0);
        QCOMPARE(numfmt::formatReal(back, ','), t);
    }
}

void TestText::parseReal_data()
{
    QTest::addColumn<QByteArray>("text");
    QTest::addColumn<double>("value");
    QTest::newRow("comma") << QByteArray("1,25") << 1.25;
    QTest::newRow("dot is accepted too") << QByteArray("53.5") << 53.5;
    QTest::newRow("exponent") << QByteArray("5E-5") << 5e-5;
    QTest::newRow("exponent with fraction") << QByteArray("-2,5E-7") << -2.5e-7;
    QTest::newRow("lower-case e and plus") << QByteArray("1e+3") << 1000.0;
    QTest::newRow("blanks") << QByteArray("  7,5 ") << 7.5;
    QTest::newRow("leading dot") << QByteArray(",5") << 0.5;
    QTest::newRow("trailing dot") << QByteArray("5.") << 5.0;
    QTest::newRow("empty") << QByteArray("") << -1.0;
    QTest::newRow("sign only") << QByteArray("-") << -1.0;
    QTest::newRow("two separators") << QByteArray("1,2,3") << -1.0;
    QTest::newRow("letters") << QByteArray("abc") << -1.0;
    QTest::newRow("trailing junk") << QByteArray("1,5x") << -1.0;
    QTest::newRow("exponent without digits") << QByteArray("1E") << -1.0;
    QTest::newRow("overflow") << QByteArray("1E400") << -1.0;
    QTest::newRow("nan text") << QByteArray("nan") << -1.0;
    QTest::newRow("thousands blank") << QByteArray("1 000") << -1.0;
}

void TestText::parseReal()
{
    QFETCH(QByteArray, text);
    QFETCH(double, value);
    QCOMPARE(numfmt::parseReal(text, -1.0), value);
}

void TestText::parseInt_data()
{
    QTest::addColumn<QByteArray>("text");
    QTest::addColumn<int>("value");
    QTest::newRow("plain") << QByteArray("300") << 300;
    QTest::newRow("minus") << QByteArray("-5") << -5;
    QTest::newRow("plus") << QByteArray("+7") << 7;
    QTest::newRow("blanks") << QByteArray(" 12 ") << 12;
    QTest::newRow("max") << QByteArray("2147483647") << 2147483647;
    QTest::newRow("min") << QByteArray("-2147483648") << int(-2147483648LL);
    QTest::newRow("too big") << QByteArray("2147483648") << -99;
    QTest::newRow("very long") << QByteArray(5000, '9') << -99;
    QTest::newRow("fraction") << QByteArray("1,5") << -99;
    QTest::newRow("hex") << QByteArray("0x1F") << -99;
    QTest::newRow("empty") << QByteArray("") << -99;
    QTest::newRow("sign only") << QByteArray("+") << -99;
    QTest::newRow("junk") << QByteArray("12a") << -99;
}

void TestText::parseInt()
{
    QFETCH(QByteArray, text);
    QFETCH(int, value);
    QCOMPARE(numfmt::parseInt(text, -99), value);
}

void TestText::iniRead_data()
{
    QTest::addColumn<QByteArray>("file");
    QTest::addColumn<QString>("section");
    QTest::addColumn<QString>("key");
    QTest::addColumn<QString>("expected"); // "<none>" for the fallback
    const QByteArray basic = "[Main]\r\nDots_Count=5\r\nInfo=\xD2\xF0\xF3\xE1\xE0\r\n[Dot_0]\r\n\xCD_Pole=42\r\n";
    QTest::newRow("exact") << basic << "Main" << "Dots_Count" << "5";
    QTest::newRow("case of key") << basic << "Main" << "dots_count" << "5";
    QTest::newRow("case of section") << basic << "MAIN" << "Info" << u"Труба"_qs;
    QTest::newRow("cyrillic case") << basic << "dot_0" << u"н_pole"_qs << "42";
    QTest::newRow("latin H is another key") << basic << "Dot_0" << "H_Pole" << "<none>";
    QTest::newRow("missing section") << basic << "Other" << "Info" << "<none>";
    QTest::newRow("missing key") << basic << "Main" << "Nope" << "<none>";
    QTest::newRow("first key wins") << QByteArray("[A]\r\nk=1\r\nK=2\r\n") << "A" << "k" << "1";
    QTest::newRow("first section wins") << QByteArray("[A]\r\nk=1\r\n[a]\r\nk=2\r\nj=3\r\n") << "A" << "j" << "<none>";
    QTest::newRow("LF only") << QByteArray("[A]\nk=v\n") << "A" << "k" << "v";
    QTest::newRow("blanks trimmed") << QByteArray(" [ A ] \r\n  k  =  v w  \r\n") << "A" << "k" << "v w";
    QTest::newRow("quotes dropped") << QByteArray("[A]\r\nk=\"q\"\r\n") << "A" << "k" << "q";
    QTest::newRow("inner quotes kept") << QByteArray("[A]\r\nk=a \"q\"\r\n") << "A" << "k" << "a \"q\"";
    QTest::newRow("empty value") << QByteArray("[A]\r\nk=\r\n") << "A" << "k" << "";
    QTest::newRow("value with equals") << QByteArray("[A]\r\nk=a=b\r\n") << "A" << "k" << "a=b";
    QTest::newRow("no final newline") << QByteArray("[A]\r\nk=v") << "A" << "k" << "v";
    QTest::newRow("line without equals") << QByteArray("[A]\r\njunk\r\nk=v\r\n") << "A" << "k" << "v";
    QTest::newRow("keys before any section") << QByteArray("k=0\r\n[A]\r\nk=v\r\n") << "A" << "k" << "v";
    QTest::newRow("NUL bytes") << QByteArray("[A]\r\nk=a\0b\r\n", 11) << "A" << "k" << QString::fromLatin1("a\0b", 3);
}

void TestText::iniRead()
{
    QFETCH(QByteArray, file);
    QFETCH(QString, section);
    QFETCH(QString, key);
    QFETCH(QString, expected);
    const IniDocument doc(file);
    QCOMPARE(doc.readString(section, key, QStringLiteral("<none>")), expected);
}

void TestText::iniValueCutTo2047()
{
    const IniDocument doc("[A]\r\nk=" + QByteArray(5000, 'x') + "\r\n");
    QCOMPARE(doc.readString(u"A", u"k", {}).size(), 2047);
}

void TestText::iniWriteKeepsOrderAndOtherLines()
{
    IniDocument doc("; note\r\n[Main]\r\nN13=0\r\nOther=keep me\r\n\r\n[Next]\r\nx=1\r\n");
    doc.setString(u"main", u"n13", u"1");    // an update changes only its line
    doc.setString(u"Main", u"M_R", u"1000"); // a new key goes to the end of its section
    doc.setString(u"Third", u"Имя", u"Значение");
    const QByteArray expected = "; note\r\n[Main]\r\nN13=1\r\nOther=keep me\r\nM_R=1000\r\n\r\n[Next]\r\nx=1\r\n"
                                "[Third]\r\n\xC8\xEC\xFF=\xC7\xED\xE0\xF7\xE5\xED\xE8\xE5\r\n";
    QCOMPARE(doc.bytes(), expected);

    IniDocument fresh;
    fresh.setString(u"Main", u"Name", u"a");
    fresh.setString(u"Main", u"Info", u"b");
    QCOMPARE(fresh.bytes(), QByteArray("[Main]\r\nName=a\r\nInfo=b\r\n"));

    IniDocument unterminated("[A]\r\nk=v");
    unterminated.setString(u"A", u"j", u"w");
    QCOMPARE(unterminated.bytes(), QByteArray("[A]\r\nk=v\r\nj=w\r\n"));
}

void TestText::iniWriteNewlineInValue()
{
    IniDocument doc;
    doc.setString(u"Main", u"Info", u"two\r\nlines\n[Evil]");
    QCOMPARE(doc.bytes(), QByteArray("[Main]\r\nInfo=two  lines [Evil]\r\n"));
    QCOMPARE(doc.sectionCount(), 1);
}

void TestText::iniMissingFile()
{
    IniDocument::LoadStatus status;
    const IniDocument doc = IniDocument::load(QStringLiteral("/nonexistent/x.ini"), &status);
    QCOMPARE(status, IniDocument::LoadStatus::Missing);
    QCOMPARE(doc.readInt(u"Main", u"M_R", 1000), 1000);
    QCOMPARE(doc.readString(u"Main", u"Name", QStringLiteral("Null")), QStringLiteral("Null"));
}

void TestText::atomicWriteFailureKeepsOldFile()
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("a.ini"));
    QVERIFY(writeFileAtomically(path, "old"));
    QVERIFY(writeFileAtomically(path, "new"));
    QFile f(path);
    QVERIFY(f.open(QIODevice::ReadOnly));
    QCOMPARE(f.readAll(), QByteArray("new"));
    f.close();

    // A write that fails half way (here: the file size limit, which holds for
    // root too) leaves the old file as it was and no temporary file behind.
    struct rlimit old;
    getrlimit(RLIMIT_FSIZE, &old);
    struct rlimit small = old;
    small.rlim_cur = 16;
    signal(SIGXFSZ, SIG_IGN);
    setrlimit(RLIMIT_FSIZE, &small);
    QString error;
    const bool written = writeFileAtomically(path, QByteArray(4096, 'x'), &error);
    setrlimit(RLIMIT_FSIZE, &old);
    QVERIFY(!written);
    QCOMPARE(error, QStringLiteral("Unable to write to %1").arg(path));
    QVERIFY(f.open(QIODevice::ReadOnly));
    QCOMPARE(f.readAll(), QByteArray("new"));
    QCOMPARE(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden), QStringList{QStringLiteral("a.ini")});
}

QTEST_GUILESS_MAIN(TestText)
#include "test_text.moc"
