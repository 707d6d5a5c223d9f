// Find in the note list: one typed character filters 32767 notes of 100
// characters, beside a plain substring scan of the same texts (what a search
// without case and accent rules would cost).
#include <benchmark/benchmark.h>

#include <random>

#include "notes/CNoteList.h"
#include "notes/TextFind.h"

namespace {

const std::vector<std::u16string>& Texts()
{
    // Words of a shopping list, in random order, so the query is found in
    // some notes, not in all or none.
    static const std::vector<std::u16string> texts = [] {
        const std::u16string words[] = {u"Milk ", u"bread ", u"Caf\u00E9 ", u"call Peter\r\n", u"rent ", u"apples "};
        std::mt19937 random(7);
        std::vector<std::u16string> out(CNoteList::kMaxNotes);
        for (auto& text : out) {
            while (text.size() < 100)
                text += words[random() % std::size(words)];
            text.resize(100);
        }
        return out;
    }();
    return texts;
}

char16_t AsciiLower(char16_t c)
{
    return c >= u'A' && c <= u'Z' ? static_cast<char16_t>(c + 32) : c;
}

// The query "peter" as typed so far: one filtering per character.
void BM_FindFilterPerTypedCharacter(benchmark::State& state)
{
    const TextFold fold(AsciiLower);
    FoldedTextCache cache(fold);
    const auto& texts = Texts();
    for (size_t i = 0; i < texts.size(); ++i)  // the box was opened: texts folded once
        cache.Find(i, &texts[i], texts[i], u"x");
    const std::u16string query = u"Peter";
    size_t typed = 0, found = 0;
    for (auto _ : state) {
        const std::u16string needle = cache.FoldQuery(query.substr(0, typed % query.size() + 1));
        for (size_t i = 0; i < texts.size(); ++i)
            found += cache.Find(i, &texts[i], texts[i], needle);
        ++typed;
    }
    benchmark::DoNotOptimize(found);
}
BENCHMARK(BM_FindFilterPerTypedCharacter)->Unit(benchmark::kMillisecond);

void BM_PlainSubstringScan(benchmark::State& state)
{
    const auto& texts = Texts();
    const std::u16string query = u"Peter";
    size_t typed = 0, found = 0;
    for (auto _ : state) {
        const std::u16string needle = query.substr(0, typed % query.size() + 1);
        for (const auto& text : texts)
            found += text.find(needle) != std::u16string::npos;
        ++typed;
    }
    benchmark::DoNotOptimize(found);
}
BENCHMARK(BM_PlainSubstringScan)->Unit(benchmark::kMillisecond);

// Opening the box folds every text once.
void BM_FindOpeningFoldsAll(benchmark::State& state)
{
    const TextFold fold(AsciiLower);
    const auto& texts = Texts();
    size_t found = 0;
    for (auto _ : state) {
        FoldedTextCache cache(fold);
        for (size_t i = 0; i < texts.size(); ++i)
            found += cache.Find(i, &texts[i], texts[i], u"p");
    }
    benchmark::DoNotOptimize(found);
}
BENCHMARK(BM_FindOpeningFoldsAll)->Unit(benchmark::kMillisecond);

}  // namespace
