// Times convert_long against the C library's strtoll (clamped to 32 bits, so
// both give the same results) on one fixed mixed corpus, and against
// std::from_chars on the corpus's plain decimal texts. The results are
// checked to agree before anything is timed; the time ratios close the run.
#include "integer_text.hpp"

#include <benchmark/benchmark.h>

#include <charconv>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <map>
#include <random>
#include <string>
#include <vector>

namespace {

struct Item {
    std::string text;
    std::int32_t base;
};

std::string digits_of(std::uint64_t value, unsigned base) {
    std::string out;
    do {
        out.insert(out.begin(), "0123456789abcdefghijklmnopqrstuvwxyz"[value % base]);
        value /= base;
    } while (value != 0);
    return out;
}

// The mixed corpus: eight kinds of text in equal shares, in a fixed order
// drawn from a fixed seed.
std::vector<Item> make_corpus() {
    std::mt19937_64 random(42);
    std::vector<Item> corpus;
    for (int i = 0; i < 4096; ++i) {
        const std::uint64_t r = random();
        switch (i % 8) {
        case 0: {  // full-width decimal with a sign
            const auto v = static_cast<std::int64_t>(r % 4294967296ULL) - 2147483648LL;
            corpus.push_back(
                {(v < 0 ? "-" : "+") + digits_of(static_cast<std::uint64_t>(v < 0 ? -v : v), 10),
                 10});
            break;
        }
        case 1:  // short decimal
            corpus.push_back({digits_of(r % 10000, 10), 10});
            break;
        case 2:  // leading blanks
            corpus.push_back({std::string(1 + r % 3, ' ') + (r % 2 != 0 ? "\t" : "") +
                                  digits_of(r % 1000000, 10),
                              10});
            break;
        case 3:  // hexadecimal with prefix, detected or explicit
            corpus.push_back({"0x" + digits_of(r % 4294967296ULL, 16), r % 2 != 0 ? 0 : 16});
            break;
        case 4:  // hexadecimal without prefix
            corpus.push_back({digits_of(r % 4294967296ULL, 16), 16});
            break;
        case 5:  // base-36 word
            corpus.push_back({digits_of(r % 2176782336ULL, 36), 36});
            break;
        case 6:  // overflowing
            corpus.push_back({(r % 2 != 0 ? "-" : "") + digits_of(r, 10), 10});
            break;
        default:  // binary
            corpus.push_back({digits_of(r % 2147483648ULL, 2), 2});
            break;
        }
    }
    return corpus;
}

const std::vector<Item> kCorpus = make_corpus();

// The corpus's plain decimal texts: what std::from_chars reads the same way,
// an optional '-' and digits with a value inside the 32-bit range.
std::vector<std::string> make_plain_decimals() {
    std::vector<std::string> plain;
    for (const Item& item : kCorpus) {
        const std::string& t = item.text;
        if (item.base == 10 && !t.empty() && t[0] != '+' && t[0] != ' ' && t.size() <= 10) {
            plain.push_back(t);
        }
    }
    return plain;
}

const std::vector<std::string> kPlain = make_plain_decimals();

std::int32_t strtoll_clamped(const char* text, std::int32_t base) {
    const long long wide = std::strtoll(text, nullptr, base);
    return wide < INT32_MIN   ? INT32_MIN
           : wide > INT32_MAX ? INT32_MAX
                              : static_cast<std::int32_t>(wide);
}

std::int32_t from_chars_decimal(const std::string& text) {
    std::int32_t value = 0;
    std::from_chars(text.data(), text.data() + text.size(), value);
    return value;
}

bool results_agree() {
    for (const Item& item : kCorpus) {
        if (numscan::convert_long(item.text.c_str(), item.base) !=
            strtoll_clamped(item.text.c_str(), item.base)) {
            std::fprintf(stderr, "disagreement on '%s' base %d\n", item.text.c_str(), item.base);
            return false;
        }
    }
    for (const std::string& text : kPlain) {
        if (numscan::convert_long(text.c_str(), 10) != from_chars_decimal(text)) {
            std::fprintf(stderr, "from_chars disagreement on '%s'\n", text.c_str());
            return false;
        }
    }
    return true;
}

void BM_convert_long_mixed(benchmark::State& state) {
    for (auto _ : state) {
        for (const Item& item : kCorpus) {
            benchmark::DoNotOptimize(numscan::convert_long(item.text.c_str(), item.base));
        }
    }
    state.SetItemsProcessed(state.iterations() * static_cast<std::int64_t>(kCorpus.size()));
}

void BM_strtoll_mixed(benchmark::State& state) {
    for (auto _ : state) {
        for (const Item& item : kCorpus) {
            benchmark::DoNotOptimize(strtoll_clamped(item.text.c_str(), item.base));
        }
    }
    state.SetItemsProcessed(state.iterations() * static_cast<std::int64_t>(kCorpus.size()));
}

void BM_convert_long_decimal(benchmark::State& state) {
    for (auto _ : state) {
        for (const std::string& text : kPlain) {
            benchmark::DoNotOptimize(numscan::convert_long(text.c_str(), 10));
        }
    }
    state.SetItemsProcessed(state.iterations() * static_cast<std::int64_t>(kPlain.size()));
}

void BM_from_chars_decimal(benchmark::State& state) {
    for (auto _ : state) {
        for (const std::string& text : kPlain) {
            benchmark::DoNotOptimize(from_chars_decimal(text));
        }
    }
    state.SetItemsProcessed(state.iterations() * static_cast<std::int64_t>(kPlain.size()));
}

BENCHMARK(BM_convert_long_mixed);
BENCHMARK(BM_strtoll_mixed);
BENCHMARK(BM_convert_long_decimal);
BENCHMARK(BM_from_chars_decimal);

// Prints as the console reporter does and keeps each benchmark's CPU time.
class RatioReporter : public benchmark::ConsoleReporter {
public:
    void ReportRuns(const std::vector<Run>& runs) override {
        ConsoleReporter::ReportRuns(runs);
        for (const Run& run : runs) {
            if (run.run_type == Run::RT_Iteration || run.aggregate_name == "median") {
                cpu_time_[run.run_name.function_name] = run.GetAdjustedCPUTime();
            }
        }
    }
    double time_of(const std::string& name) const {
        const auto found = cpu_time_.find(name);
        return found != cpu_time_.end() ? found->second : 0.0;
    }

private:
    std::map<std::string, double> cpu_time_;
};

}  // namespace

int main(int argc, char** argv) {
    if (!results_agree()) {
        return 1;
    }
    std::printf("corpus: %zu mixed texts, %zu plain decimal texts\n", kCorpus.size(),
                kPlain.size());
    benchmark::Initialize(&argc, argv);
    RatioReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    benchmark::Shutdown();
    const double strtoll_time = reporter.time_of("BM_strtoll_mixed");
    const double from_chars_time = reporter.time_of("BM_from_chars_decimal");
    if (strtoll_time > 0 && from_chars_time > 0) {
        std::printf("convert_long / strtoll (mixed):      %.3f\n",
                    reporter.time_of("BM_convert_long_mixed") / strtoll_time);
        std::printf("convert_long / from_chars (decimal): %.3f\n",
                    reporter.time_of("BM_convert_long_decimal") / from_chars_time);
    }
    return 0;
}
