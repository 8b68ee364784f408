#include "sample_text.h"

#include <random>
#include <vector>

namespace vernalith::bench {

std::u16string SampleText(size_t bytes) {
    static const std::vector<std::u16string> words = {
        u"текст",  u"Это",          u"статья",   u"о",     u"том",   u"как",  u"очистить",      u"документ",
        u"the",    u"quick",        u"brown",    u"fox",   u"jumps", u"over", u"lazy",          u"dog",
        u"Москва", u"книга",        u"страница", u"пере-", u"нос",   u"т.д",  u"<b>жирный</b>", u"<p>",
        u"</p>",   u"(см. рис. 4)", u"ё",        u"Ёлка",  u"HTML",  u"2026", u"год",
    };
    static const std::vector<std::u16string> glue = {
        u" ",   u" ",   u" ",   u" ",   u"  ",   u"   ",      u" , ",    u" . ",   u", ",   u". ",
        u"!! ", u"?? ", u" ; ", u" : ", u"\r\n", u"\r\n\r\n", u"\r\n  ", u"-\r\n", u"... ", u"\r\n   \r\n"};
    std::mt19937 rng(static_cast<uint32_t>(bytes));
    std::uniform_int_distribution<size_t> pickWord(0, words.size() - 1), pickGlue(0, glue.size() - 1);
    std::u16string text;
    const size_t units = bytes / 2;
    text.reserve(units + 64);
    while (text.size() < units) {
        text += words[pickWord(rng)];
        text += glue[pickGlue(rng)];
    }
    text.resize(units);
    return text;
}

std::u16string SampleLines(size_t lines) {
    std::mt19937 rng(static_cast<uint32_t>(lines));
    std::uniform_int_distribution<int> pick(0, static_cast<int>(lines / 2 + 1));
    std::u16string text;
    text.reserve(lines * 14);
    for (size_t i = 0; i < lines; ++i) {
        text += u"строка line ";
        text += std::u16string(1, static_cast<char16_t>(u'А' + i % 32));
        for (char c : std::to_string(pick(rng))) text.push_back(static_cast<char16_t>(c));
        text += u"\r\n";
    }
    return text;
}

}  // namespace vernalith::bench
