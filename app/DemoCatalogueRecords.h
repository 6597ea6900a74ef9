#pragma once
// The invented content of the demo catalogue: titles with German main titles,
// authors, publishers and years, and the copies of them with location, price
// and loan state. The same number of copies always gives the same records.
//
// The data carries the faults a real catalogue has, so that every catalogue
// check finds something: titles without main title or without author, main
// title equal to the author (also differing in case only), main titles with
// special characters, copies whose title record is missing, and title records
// without any copy.
#include <cstdint>
#include <optional>
#include <string>

namespace demo {

struct TitleRecord {
    std::int32_t buchungsnummer = 0;
    std::optional<std::string> haupttitel;   // up to 255 characters
    std::optional<std::string> haupteintrag; // up to 50 characters
    std::optional<std::string> verlag;       // up to 100 characters
    std::optional<int> jahr;
    double erfasst = 0; // when the title was catalogued, as a Jet date
};

struct CopyRecord {
    std::int32_t exemplarnummer = 0;
    std::optional<std::int32_t> titel; // Buchungsnummer of its title; may name no title
    std::optional<std::string> standort; // up to 30 characters
    std::optional<std::int64_t> preisCents;
    bool ausgeliehen = false;
};

// Produces the records in the order they are stored: a title record always
// comes before the first copy that names it. Copy numbers rise.
class DemoCatalogueRecords {
public:
    explicit DemoCatalogueRecords(long copies);

    // The next record: a title (when it returns true through isTitle) or a
    // copy. False once all copies and the titles without copies are out.
    bool next(TitleRecord& title, CopyRecord& copy, bool& isTitle);

    long copiesWritten() const { return copiesDone_; }
    std::int32_t titlesWritten() const { return lastTitle_; }

private:
    std::uint64_t random();
    int below(int n) { return int(random() % std::uint64_t(n)); }
    bool chance(int perMille) { return below(1000) < perMille; }
    void makeTitle(TitleRecord& title);
    void makeShowcaseTitle(TitleRecord& title);
    void fillCopy(CopyRecord& copy, std::optional<std::int32_t> titel);

    long copies_;
    long copiesDone_ = 0;
    std::uint64_t state_;
    std::int32_t lastTitle_ = 0;
    std::int32_t nextCopyNumber_ = 1;
    bool copyPending_ = false; // a title was handed out, its first copy follows
};

} // namespace demo
