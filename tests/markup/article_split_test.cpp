#include "markup/article_split.h"

#include <gtest/gtest.h>

#include <random>

#include "automatic/procedure_runners.h"
#include "core/percent.h"
#include "core/procedure_error.h"
#include "settings/settings_table.h"
#include "support/case_table.h"
#include "support/random_text.h"
#include "support/recording_progress.h"
#include "support/reference_fuzz.h"

namespace vernalith {
namespace {

using testing::RecordingProgress;
using testing::T;

// Random numbers from a fixed seed, with every range asked for recorded.
class ScriptedRandom : public RandomSource {
public:
    explicit ScriptedRandom(uint32_t seed) : engine_(seed) {}
    uint32_t NextBelow(uint32_t range) override {
        ranges.push_back(range);
        return range == 0 ? 0 : static_cast<uint32_t>(engine_() % range);
    }
    std::vector<uint32_t> ranges;

private:
    std::mt19937 engine_;
};

namespace reference {

bool Letter(char16_t c) { return c >= u'A' && c <= u'я'; }

std::u16string Heading(const std::u16string& t, size_t p, int headingLength) {
    std::u16string h;
    for (size_t k = 0; p + k <= t.size(); ++k) {
        const char16_t c = t[p + k - 1];
        if (c == u'\r' || c == u'\n') break;
        if (k > static_cast<size_t>(headingLength) && !Letter(c)) break;
        h.push_back(c);
    }
    while (h.size() > 3 && !Letter(h.back())) h.pop_back();
    return h;
}

// The split as described, inserting into the text at each heading, with 1-based positions; plus
// the one rule that makes it end: a search position at or before the article start just given a
// heading moves to just after it. `moved` tells whether that rule ever changed anything.
std::u16string SplitIntoArticles(std::u16string t, const ArticleSplitSettings& s, RandomSource& random,
                                 ProgressReporter& progress, bool& moved) {
    progress.SetStatusCaption(u"разбивка на статьи");
    moved = false;
    auto at = [&](size_t p) { return t[p - 1]; };
    auto nextR = [&] { return random.NextBelow(static_cast<uint32_t>(s.maxChars - s.minChars)); };
    if (t.empty()) {
        progress.FinishReport();
        return t;
    }
    progress.ReportPercent(PercentOfText(0, static_cast<int64_t>(t.size())));
    progress.PumpEvents();
    size_t p = 1;
    while (p <= t.size() && !Letter(at(p))) ++p;
    if (p > t.size()) {
        progress.FinishReport();
        return t;
    }
    std::u16string h = Heading(t, p, s.headingLength);
    t = s.headingOpenTag + h + s.headingCloseTag + u"\n" + t.substr(p - 1);
    size_t start = s.headingOpenTag.size() + h.size() + s.headingCloseTag.size() + 2;
    size_t a = p + static_cast<size_t>(s.minChars) + nextR();
    if (a <= start) {
        moved = true;
        a = start + 1;
    }
    while (a < t.size()) {
        progress.ReportPercent(PercentOfText(static_cast<int64_t>(a), static_cast<int64_t>(t.size())));
        progress.PumpEvents();
        p = a;
        while (p <= t.size() &&
               !(Letter(at(p)) && std::u16string_view(u"\r\n.!?").find(at(p - 1)) != std::u16string::npos))
            ++p;
        if (p > t.size()) break;
        h = Heading(t, p, s.headingLength);
        const std::u16string line = u"\n" + s.headingOpenTag + h + s.headingCloseTag + u"\n";
        t.insert(p - 1, line);
        start = p + line.size();
        a = p + static_cast<size_t>(s.minChars) + nextR();
        if (a <= start) {
            moved = true;
            a = start + 1;
        }
    }
    progress.FinishReport();
    return t;
}

}  // namespace reference

ArticleSplitSettings Settings(int minChars, int maxChars, int headingLength = 37) {
    ArticleSplitSettings s;
    s.minChars = minChars;
    s.maxChars = maxChars;
    s.headingLength = headingLength;
    return s;
}

TEST(ArticleHeadingText, Cases) {
    const struct {
        const char* line;
        int headingLength;
        const char* heading;
    } cases[] = {
        {"Как выбрать хороший ноутбук для работы и учебы", 37, "Как выбрать хороший ноутбук для работы"},
        {"Как выбрать хороший ноутбук для студентов", 37, "Как выбрать хороший ноутбук для студентов"},
        {"Как выбрать хороший ноутбук и купить всё", 37, "Как выбрать хороший ноутбук и купить вс"},
        {"Нет!", 37, "Нет"},
        {"Да!", 37, "Да!"},
        {"Ура —", 37, "Ура"},
        {"Конец", 37, "Конец"},
        {"Абзац два.{CR}{LF}Абзац три.", 37, "Абзац два"},
        {"Строка{LF}", 37, "Строка"},
        {"«Цитата»,", 37, "«Цитата»"},  // guillemets lie in the letter range
        {"Ab cd", 0, "Ab"},
        {"ab..cd", 2, "ab."},
        {"ab..cd", 3, "ab..cd"},
        {"abc.. x", 3, "abc"},
        {"всё хорошо", 1, "вс"},
        {"1234567", 2, "123"},
        {"12345", 3, "123"},  // trimmed only while longer than 3 characters
    };
    for (const auto& c : cases) {
        EXPECT_EQ(ArticleHeadingText(T(c.line), 0, c.headingLength), T(c.heading)) << c.line;
    }
}

TEST(SplitIntoArticles, Cases) {
    struct Case {
        const char* input;
        int minChars, headingLength;
        const char* expected;
    };
    const Case cases[] = {
        {"", 40, 37, ""},
        {"123{CR}{LF}456", 40, 37, "123{CR}{LF}456"},
        {"x", 40, 37, "<h1>x</h1>{LF}x"},
        {"Короткий текст.", 40, 37, "<h1>Короткий текст</h1>{LF}Короткий текст."},
        {"  12 Первая", 40, 37, "<h1>Первая</h1>{LF}Первая"},
        {"{CR}{LF}{CR}{LF}ёжик", 40, 37, "<h1>жик</h1>{LF}жик"},
        {"12. [Note]", 40, 37, "<h1>[Note]</h1>{LF}[Note]"},
        {"Заголовок{CR}{LF}Абзац один.{CR}{LF}Абзац два.{CR}{LF}Абзац три. Ещё.Конец", 40, 37,
         "<h1>Заголовок</h1>{LF}Заголовок{CR}{LF}Абзац один.{CR}{LF}{LF}<h1>Абзац два</h1>{LF}Абзац два.{CR}{LF}"
         "Абзац три. Ещё.{LF}<h1>Конец</h1>{LF}Конец"},
        // no article start after the search position: the text ends with the last article as it was
        {"Первая строка{CR}{LF}вторая строка без точки и дальше", 40, 37,
         "<h1>Первая строка</h1>{LF}Первая строка{CR}{LF}вторая строка без точки и дальше"},
        // a letter after a space starts no article; after "." "!" "?", CR or LF it does
        {"Аб. Вг.Де", 1, 0, "<h1>Аб</h1>{LF}Аб. Вг.{LF}<h1>Де</h1>{LF}Де"},
        {"Да!Нет?Ок", 1, 0, "<h1>Да</h1>{LF}Да!{LF}<h1>Нет</h1>{LF}Нет?{LF}<h1>Ок</h1>{LF}Ок"},
        {"а{CR}б{LF}в", 1, 0, "<h1>а</h1>{LF}а{CR}{LF}<h1>б</h1>{LF}б{LF}{LF}<h1>в</h1>{LF}в"},
        // heading lines longer than the article: each article start still gets one heading, and it ends
        {"Ab{CR}{LF}11111{CR}{LF}Ccccccccccc", 22, 37,
         "<h1>Ab</h1>{LF}Ab{CR}{LF}11111{CR}{LF}{LF}<h1>Ccccccccccc</h1>{LF}Ccccccccccc"},
        {"a.b.c", 1, 37, "<h1>a.b.c</h1>{LF}a.{LF}<h1>b.c</h1>{LF}b.{LF}<h1>c</h1>{LF}c"},
    };
    testing::RunCaseTable(cases, [](const Case& c, RecordingProgress& p) {
        ScriptedRandom random(1);
        std::u16string result =
            SplitIntoArticles(T(c.input), Settings(c.minChars, c.minChars, c.headingLength), random, p);
        EXPECT_EQ(p.calls.front(), "caption разбивка на статьи") << c.input;
        EXPECT_EQ(p.calls.back(), "clear") << c.input;
        return result;
    });
}

TEST(SplitIntoArticles, ReportsOncePerPassAgainstTheGrowingText) {
    RecordingProgress progress;
    ScriptedRandom random(1);
    SplitIntoArticles(T("Заголовок{CR}{LF}Абзац один.{CR}{LF}Абзац два.{CR}{LF}Абзац три. Ещё.Конец"), Settings(40, 40),
                      random, progress);
    // Pass 1 shows 0; then a = 41 of 75 characters (41/76 -> 54) and a = 84 of 95 (84/96 = 87.5 -> 88).
    EXPECT_EQ(progress.calls, (std::vector<std::string>{"caption разбивка на статьи", "percent 0", "pump", "percent 54",
                                                        "pump", "percent 88", "pump", "caption статус", "clear"}));
    EXPECT_EQ(random.ranges, (std::vector<uint32_t>{0, 0, 0}));  // one draw per heading

    RecordingProgress looping;
    SplitIntoArticles(T("Ab{CR}{LF}11111{CR}{LF}Ccccccccccc"), Settings(22, 22), random, looping);
    // 23/35 -> 66; the search after the second heading moves from 46 to 47 of 56: 47/57 -> 82.
    EXPECT_EQ(looping.Percents(), (std::vector<std::string>{"percent 0", "percent 66", "percent 82"}));
}

TEST(SplitIntoArticles, RefusesSettingsNoTextCouldSplitSoundly) {
    const struct {
        int minChars, maxChars, headingLength;
        const char* named;
    } cases[] = {
        {0, 40, 37, "ArticleMinChars"},
        {-5, 40, 37, "ArticleMinChars"},
        {40, 39, 37, "ArticleMaxChars"},
        {40, 40, -1, "HeadingLength"},
    };
    for (const auto& c : cases) {
        RecordingProgress progress;
        ScriptedRandom random(1);
        try {
            SplitIntoArticles(u"Текст", Settings(c.minChars, c.maxChars, c.headingLength), random, progress);
            ADD_FAILURE() << c.named << " accepted";
        } catch (const ProcedureError& error) {
            EXPECT_NE(error.message().find(T(c.named)), std::u16string::npos) << error.what();
            EXPECT_TRUE(error.message().starts_with(u"Авторазбивка статей: ")) << error.what();
        }
        EXPECT_EQ(progress.calls, (std::vector<std::string>{"caption разбивка на статьи"}));
        EXPECT_TRUE(random.ranges.empty());
    }
    RecordingProgress progress;
    ScriptedRandom random(1);
    EXPECT_EQ(SplitIntoArticles(u"Аб.Вг", Settings(1, 1, 0), random, progress), u"<h1>Аб</h1>\nАб.\n<h1>Вг</h1>\nВг");
}

TEST(SplitIntoArticles, RandomLengthIsDrawnBelowMaxMinusMinAfterEachHeading) {
    // Sentences of 10 characters, each one an article start. With min 10 and R = 0, 15, 15 the cuts
    // shift by the random part.
    class Fixed : public RandomSource {
    public:
        uint32_t NextBelow(uint32_t range) override {
            ranges.push_back(range);
            return ranges.size() == 1 ? 0 : 15;
        }
        std::vector<uint32_t> ranges;
    } random;
    RecordingProgress progress;
    ArticleSplitSettings s = Settings(10, 26, 3);
    s.headingOpenTag = u"[";
    s.headingCloseTag = u"]";
    EXPECT_EQ(SplitIntoArticles(u"Aaaa aaaa.Bbbb bbbb.Cccc cccc.Dddd dddd.Eeee eeee.", s, random, progress),
              u"[Aaaa]\nAaaa aaaa.\n[Bbbb]\nBbbb bbbb.Cccc cccc.\n[Dddd]\nDddd dddd.Eeee eeee.");
    EXPECT_EQ(random.ranges, (std::vector<uint32_t>{16, 16, 16}));
}

std::u16string RandomText(std::mt19937& rng, size_t maxLength) {
    static const char16_t alphabet[] = {u'a', u'a', u'Б',  u'Б',  u'ё', u'.',      u'!', u'?',
                                        u' ', u' ', u'\r', u'\n', u'1', u'\u2014', u'[', u'\0'};
    return testing::RandomText(rng, maxLength, {alphabet, std::size(alphabet)});
}

struct SplitInput {
    std::u16string text;
    ArticleSplitSettings settings;
    uint32_t randomSeed = 0;
};

std::string Readable(const SplitInput& in) {
    const ArticleSplitSettings& s = in.settings;
    return testing::Readable(in.text) + " with the lengths " + std::to_string(s.minChars) + " to " +
           std::to_string(s.maxChars) + ", heading length " + std::to_string(s.headingLength) + ", tags " +
           testing::Readable(s.headingOpenTag) + " " + testing::Readable(s.headingCloseTag) + ", draw seed " +
           std::to_string(in.randomSeed);
}

TEST(SplitIntoArticlesFuzz, MatchesTheLiteralSplitTextReportsAndDraws) {
    const std::pair<std::u16string, std::u16string> tags[] = {
        {u"<h1>", u"</h1>"}, {u"", u""}, {u"<h2 class=a.B>", u"</h2>"}, {u"\r\n<", u">\r\n"}};
    int literal = 0, moved = 0;
    // The result of a run: the text and the ranges of the random draws, which must match too.
    using TextAndDraws = std::pair<std::u16string, std::vector<uint32_t>>;
    testing::FuzzAgainstReference(
        4242, 20000, {},
        [&tags](std::mt19937& rng, int iteration) {
            SplitInput in;
            in.text = RandomText(rng, 70);
            ArticleSplitSettings& s = in.settings;
            s.minChars = 1 + static_cast<int>(rng() % 30);
            s.maxChars = s.minChars + (iteration % 2 == 0 ? 0 : static_cast<int>(rng() % 12));
            s.headingLength = iteration % 5 == 0 ? 37 : static_cast<int>(rng() % 9);
            std::tie(s.headingOpenTag, s.headingCloseTag) = tags[rng() % std::size(tags)];
            in.randomSeed = static_cast<uint32_t>(iteration);
            return in;
        },
        [](const SplitInput& in, RecordingProgress& p, int) {
            ScriptedRandom random(in.randomSeed);
            std::u16string result = SplitIntoArticles(in.text, in.settings, random, p);
            return TextAndDraws(std::move(result), random.ranges);
        },
        [&](const SplitInput& in, RecordingProgress& p, int) {
            ScriptedRandom random(in.randomSeed);
            bool movedHere = false;
            std::u16string result = reference::SplitIntoArticles(in.text, in.settings, random, p, movedHere);
            ++(movedHere ? moved : literal);
            return TextAndDraws(std::move(result), random.ranges);
        });
    // Both kinds of run came up: those the described algorithm ends on unchanged, and those where
    // only moving the search position past the article start makes it end.
    EXPECT_GT(literal, 1000);
    EXPECT_GT(moved, 1000);
}

// The procedure as the chain and the command run it: settings read as text.
class SplitAdapter : public ::testing::Test {
protected:
    std::u16string Run(const std::u16string& text) {
        ProcedureContext context{settings, progress, random};
        return RunProcedure(ProcedureId::SplitIntoArticles, text, context);
    }
    SettingValues settings;
    RecordingProgress progress;
    ScriptedRandom random{7};
};

TEST_F(SplitAdapter, ANumberThatIsNotWholeFailsBeforeTheTextIsTouched) {
    for (Setting setting : {Setting::HeadingLength, Setting::ArticleMinChars, Setting::ArticleMaxChars}) {
        SettingValues fresh;
        settings = fresh;
        settings.Set(setting, u"4O");
        progress.calls.clear();
        try {
            Run(u"Текст");
            ADD_FAILURE() << "accepted";
        } catch (const ProcedureError& error) {
            EXPECT_EQ(error.message(), u"''4O'' is not a valid integer value.");
        }
        EXPECT_EQ(progress.calls, (std::vector<std::string>{"caption разбивка на статьи"}));
    }
    // The heading length is read first.
    settings.Set(Setting::HeadingLength, u"");
    settings.Set(Setting::ArticleMinChars, u"x");
    try {
        Run(u"Текст");
        ADD_FAILURE() << "accepted";
    } catch (const ProcedureError& error) {
        EXPECT_EQ(error.message(), u"'''' is not a valid integer value.");
    }
}

TEST_F(SplitAdapter, ReadsEverySetting) {
    settings.Set(Setting::HeadingOpenTag, u"<h2>");
    settings.Set(Setting::HeadingCloseTag, u"</h2>");
    settings.Set(Setting::HeadingLength, u"0");
    settings.Set(Setting::ArticleMinChars, u" 1");
    settings.Set(Setting::ArticleMaxChars, u"3");
    EXPECT_EQ(Run(u"Аб вг.Де"), u"<h2>Аб</h2>\nАб вг.\n<h2>Де</h2>\nДе");
    EXPECT_EQ(random.ranges, (std::vector<uint32_t>{2, 2}));
    settings.Set(Setting::ArticleMaxChars, u"0");
    EXPECT_THROW(Run(u"Аб"), ProcedureError);
}

}  // namespace
}  // namespace vernalith
