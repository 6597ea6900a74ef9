#include "app/DemoCatalogueRecords.h"

#include "engine/Variant.h"

#include <array>
#include <string_view>

namespace demo {
namespace {

using std::string_view;

struct Noun {
    string_view article; // nominative, capitalised
    string_view word;
};

constexpr Noun kNouns[] = {
    {"Der", "Garten"},   {"Der", "Fluss"},     {"Der", "Wald"},        {"Der", "Brunnen"},   {"Der", "Fuchs"},
    {"Der", "Bär"},      {"Der", "Schlüssel"}, {"Der", "Turm"},        {"Der", "Hafen"},     {"Der", "Sommer"},
    {"Der", "Winter"},   {"Der", "Zug"},       {"Der", "Leuchtturm"},  {"Der", "Apfelbaum"}, {"Der", "Spiegel"},
    {"Der", "Kapitän"},  {"Der", "Bäcker"},    {"Der", "König"},       {"Der", "Schmied"},   {"Der", "Nebel"},
    {"Die", "Mühle"},    {"Die", "Stadt"},     {"Die", "Brücke"},      {"Die", "Insel"},     {"Die", "Reise"},
    {"Die", "Füchsin"},  {"Die", "Schule"},    {"Die", "Straße"},      {"Die", "Nacht"},     {"Die", "Glocke"},
    {"Die", "Küste"},    {"Die", "Bibliothek"}, {"Die", "Erbschaft"},  {"Die", "Kutsche"},   {"Die", "Lüge"},
    {"Die", "Uhr"},      {"Die", "Schwester"}, {"Die", "Gärtnerin"},   {"Das", "Haus"},      {"Das", "Dorf"},
    {"Das", "Schloss"},  {"Das", "Fräulein"},  {"Das", "Geheimnis"},   {"Das", "Mädchen"},   {"Das", "Tal"},
    {"Das", "Moor"},     {"Das", "Feuer"},     {"Das", "Licht"},       {"Das", "Gasthaus"},  {"Das", "Tagebuch"},
    {"Das", "Märchen"},  {"Das", "Ufer"},      {"Das", "Kloster"},     {"Das", "Rätsel"},    {"Das", "Herbarium"},
};

// Declined as after the definite article in the nominative.
constexpr string_view kAdjectives[] = {
    "alte",     "stille",  "verlorene", "fremde",    "dunkle",     "wilde",    "bittere",  "kleine",
    "große",    "grüne",   "weiße",     "letzte",    "heimliche",  "vergessene", "gläserne", "blaue",
    "schöne",   "müde",    "kühle",     "fröhliche", "zerbrochene", "goldene", "ewige",    "späte",
};

constexpr string_view kPlaces[] = {
    "am Bodensee",   "im Schwarzwald", "an der Elbe",    "in Lübeck",     "auf Rügen",
    "im Allgäu",     "an der Mosel",   "in Görlitz",     "am Müggelsee",  "im Spreewald",
    "in der Lüneburger Heide", "auf der Schwäbischen Alb", "an der Förde", "in Kötzschenbroda",
};

// Feminine subjects, so that "der" and "die" fit in front of them.
constexpr string_view kFields[] = {
    "Physik",    "Chemie",     "Mathematik",  "Biologie",      "Astronomie",         "Philosophie",
    "Pädagogik", "Statistik",  "Gartenkunst", "Heimatkunde",   "Musiktheorie",       "Ökologie",
    "Volkswirtschaft", "Buchbinderei", "Kräuterkunde", "Fotografie", "Geologie", "Sprachwissenschaft",
    "Bienenzucht", "Holzbearbeitung", "Länderkunde", "Kochkunst",
};

constexpr string_view kFieldBooks[] = {
    "Geschichte der ", "Handbuch der ", "Grundlagen der ", "Kleine Schule der ", "Lexikon der ", "Praxis der ",
};

constexpr string_view kGenres[] = {". Roman", ": Erzählungen", ". Ein Kriminalroman", ": Gedichte", ". Novelle"};

constexpr string_view kSurnames[] = {
    "Müller",   "Schröder", "Weiß",      "Köhler",   "Bäcker",    "Groß",     "Krüger",   "Hölzl",
    "Fuchs",    "Schäfer",  "Lehmann",   "Jäger",    "Böhm",      "Wagner",   "Becker",   "Hoffmann",
    "Schulz",   "Zimmermann", "Braun",   "Hartmann", "Weber",     "Meyer",    "Vogel",    "Sommer",
    "Kühn",     "Lößl",     "Günther",   "Engel",    "Seidel",    "Brückner", "Dörfler",  "Pfeiffer",
    "Löffler",  "Kröger",   "Oßwald",    "Mühlbauer", "Rößler",   "Tränkle",  "Nüßlein",  "Wendt",
};

constexpr string_view kFirstNames[] = {
    "Jürgen", "Jörg",  "Bärbel", "Sören",  "Ute",     "Björn",  "Gisela",     "Käthe",   "Günter", "Anna",
    "Paul",   "Lena",  "Maximilian", "René", "Hans-Peter", "Lüder", "Dörte",  "Agnès",   "Zoë",    "Mats",
    "Renate", "Frauke", "Ingeborg", "Sebastian", "Gesine", "Ole",  "Hannelore", "Jens",    "Traudl", "Søren",
};

constexpr string_view kPublishers[] = {
    "Hanse-Verlag Lübeck",    "Edition Sonnenblume",   "Mühlbach & Söhne",  "Verlag am Kanal",
    "Kieselstein Verlag",     "Görlitzer Bücherstube", "Südwind Presse",    "Fährmann Verlag",
    "Alpenglühen Verlag",     "Lindenblatt & Co.",     "Nordlicht Edition", "Rabenfeder Verlag",
    "Verlag Zwölf Äpfel",     "Schäferei-Verlag Celle", "Büchergilde am Main", "Ölmühle Verlagshaus",
};

constexpr string_view kReaders[] = {"Einsteiger", "Fortgeschrittene", "Kinder", "Senioren", "Neugierige"};

constexpr string_view kLaws[] = {"BGB", "StVO", "HGB", "GG", "StGB"};

// Locations of the copies, by weight in per mille.
struct Location {
    string_view name; // empty: no location recorded
    int perMille;
};
constexpr Location kLocations[] = {
    {"Magazin", 350}, {"Lesesaal", 250}, {"Freihand", 150}, {"Kinderbücherei", 100},
    {"Präsenzbestand", 50}, {"", 100},
};

// The first titles show each kind of fault at once, also in a tiny catalogue.
struct Showcase {
    const char* title;  // nullptr: no main title
    const char* author; // nullptr: no author
};
constexpr Showcase kShowcase[] = {
    {"Die Mühle am Weißenbach", "Köhler, Bärbel"},
    {nullptr, "Brückner, Jörg"},
    {"Handbuch der Heimatkunde", nullptr},
    {"Hölzl", "HÖLZL"},
    {"Über 30° im Schatten", "Wendt, Søren"},
    {nullptr, nullptr},
    {"Kochen für 2 + 2", "Nüßlein, Käthe"},
    {"Wohnen auf 40 m² ( Band 2) ", "Oßwald, Hans-Peter"},
};
constexpr int kShowcaseCount = int(std::size(kShowcase));

// Per mille of the new titles.
constexpr int kNoTitle = 8;
constexpr int kNoAuthor = 15;
constexpr int kTitleIsAuthor = 3;
constexpr int kSpecialCharacters = 12;
constexpr int kNearMiss = 10;
constexpr int kEmptyTitle = 1;
constexpr int kNoCopy = 5;
// Per mille of the copies.
constexpr int kNewTitle = 620;
constexpr int kOrphanCopy = 2;
constexpr int kCopyWithoutTitle = 1;

template <typename T, size_t N>
const T& pick(const T (&items)[N], int index)
{
    return items[size_t(index) % N];
}

std::string upper(const std::string& text)
{
    // Enough for the names used here: ASCII letters and the German umlauts.
    std::string out;
    for (size_t i = 0; i < text.size(); ++i) {
        const unsigned char c = static_cast<unsigned char>(text[i]);
        if (c == 0xC3 && i + 1 < text.size()) {
            const unsigned char d = static_cast<unsigned char>(text[i + 1]);
            out += char(c);
            out += (d == 0xA4 || d == 0xB6 || d == 0xBC) ? char(d - 0x20) : char(d); // ä ö ü
            ++i;
        } else {
            out += (c >= 'a' && c <= 'z') ? char(c - 32) : char(c);
        }
    }
    return out;
}

} // namespace

DemoCatalogueRecords::DemoCatalogueRecords(long copies) : copies_(copies < 0 ? 0 : copies), state_(0x5EED0B00C5ULL)
{
}

std::uint64_t DemoCatalogueRecords::random()
{
    // splitmix64: the same sequence on every platform and compiler.
    std::uint64_t z = (state_ += 0x9E3779B97F4A7C15ULL);
    z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ULL;
    z = (z ^ (z >> 27)) * 0x94D049BB133111EBULL;
    return z ^ (z >> 31);
}

bool DemoCatalogueRecords::next(TitleRecord& title, CopyRecord& copy, bool& isTitle)
{
    if (copiesDone_ >= copies_)
        return false;
    if (copyPending_) {
        copyPending_ = false;
        fillCopy(copy, lastTitle_);
        isTitle = false;
        return true;
    }
    if (lastTitle_ < kShowcaseCount) {
        makeShowcaseTitle(title);
        copyPending_ = true;
        isTitle = true;
        return true;
    }
    if (chance(kNewTitle)) {
        makeTitle(title);
        copyPending_ = !chance(kNoCopy);
        isTitle = true;
        return true;
    }
    // Another copy of a title already in the catalogue, now and then one whose
    // title record is missing or not named at all.
    std::optional<std::int32_t> titel = std::int32_t(1 + below(lastTitle_));
    if (chance(kOrphanCopy))
        titel = 99999000 + below(1000);
    else if (chance(kCopyWithoutTitle))
        titel.reset();
    fillCopy(copy, titel);
    isTitle = false;
    return true;
}

void DemoCatalogueRecords::fillCopy(CopyRecord& copy, std::optional<std::int32_t> titel)
{
    copy.exemplarnummer = nextCopyNumber_;
    // Now and then numbers of copies that were given away are missing.
    nextCopyNumber_ += chance(50) ? 2 + below(19) : 1;
    copy.titel = titel;
    int roll = below(1000);
    copy.standort.reset();
    for (const Location& location : kLocations) {
        if (roll < location.perMille) {
            if (!location.name.empty())
                copy.standort = std::string(location.name);
            break;
        }
        roll -= location.perMille;
    }
    if (chance(50))
        copy.preisCents.reset();
    else
        copy.preisCents = 495 + 5 * below(1700); // 4,95 to 89,90
    copy.ausgeliehen = chance(120);
    ++copiesDone_;
}

void DemoCatalogueRecords::makeShowcaseTitle(TitleRecord& title)
{
    const Showcase& s = kShowcase[lastTitle_];
    title.buchungsnummer = ++lastTitle_;
    title.haupttitel = s.title ? std::optional<std::string>(s.title) : std::nullopt;
    title.haupteintrag = s.author ? std::optional<std::string>(s.author) : std::nullopt;
    title.verlag = std::string(pick(kPublishers, lastTitle_));
    title.jahr = 1990 + lastTitle_;
    title.erfasst = dao::jetDateFromParts(2015, 3, lastTitle_, 9, 30);
}

void DemoCatalogueRecords::makeTitle(TitleRecord& title)
{
    title.buchungsnummer = ++lastTitle_;

    const std::string surname(pick(kSurnames, below(1 << 20)));
    std::string author = surname + ", " + std::string(pick(kFirstNames, below(1 << 20)));
    if (chance(40))
        author += " von";
    title.haupteintrag = author;

    const Noun& a = pick(kNouns, below(1 << 20));
    const Noun& b = pick(kNouns, below(1 << 20));
    const std::string field(pick(kFields, below(1 << 20)));
    const std::string adjective(pick(kAdjectives, below(1 << 20)));
    const std::string place(pick(kPlaces, below(1 << 20)));
    std::string text;
    switch (below(9)) {
    case 0: case 1:
        text = std::string(a.article) + " " + adjective + " " + std::string(a.word);
        break;
    case 2:
        text = std::string(a.article) + " " + std::string(a.word) + " und " + char(b.article[0] + 32) +
               std::string(b.article.substr(1)) + " " + std::string(b.word);
        break;
    case 3:
        text = std::string(a.article) + " " + std::string(a.word) + " " + place;
        break;
    case 4:
        text = std::string(pick(kFieldBooks, below(1 << 20))) + field;
        break;
    case 5:
        text = "Einführung in die " + field;
        break;
    case 6:
        text = std::string(pick(kFieldBooks, below(1 << 20))) + field + " (Band " + std::to_string(1 + below(12)) + ")";
        break;
    case 7:
        text = std::string(a.article) + " " + adjective + " " + std::string(a.word) +
               std::string(pick(kGenres, below(1 << 20)));
        break;
    default:
        text = std::string(pick(kFirstNames, below(1 << 20))) + " und " +
               std::string(pick(kFirstNames, below(1 << 20))) + " " + place;
        break;
    }

    const std::string n = std::to_string(2 + below(98));
    if (chance(kSpecialCharacters)) {
        switch (below(16)) {
        case 0: text = std::string(a.word) + " & " + std::string(b.word) + " "; break;
        case 1: text += " ( Band " + std::to_string(1 + below(9)) + ") "; break;
        case 2: text = "C++ für " + std::string(pick(kReaders, below(1 << 20))); break;
        case 3: text = "Über " + n + "° " + place; break;
        case 4: text = "Wohnen auf " + n + " m²"; break;
        case 5: text = "§ " + n + " " + std::string(pick(kLaws, below(1 << 20))) + " – Kommentar"; break;
        case 6: text = std::string(a.article) + " \"" + std::string(a.word) + "\"-Prinzip"; break;
        case 7: text += " ~ Neuausgabe"; break;
        case 8: text = "Briefe an info@" + std::string(a.word) + "-" + n + ".de"; break;
        case 9: text = "Café ´" + std::string(b.word) + "´"; break;
        case 10: text = "Potenzen: 2^" + n + " und mehr"; break;
        case 11: text = "Mengenlehre {a, b, " + n + "}"; break;
        case 12: text = "Tabellen [Teil " + n + "] verstehen"; break;
        case 13: text = "Pfade wie C:\\Daten\\" + std::string(b.word); break;
        case 14: text = below(2) ? "Mehr > Weniger" : "Weniger < Mehr"; break;
        default: text = "Sterne * und Fußnoten " + place; break;
        }
    } else if (chance(kNearMiss)) {
        // Characters a check must not take for special ones.
        switch (below(5)) {
        case 0: text = std::string(a.word) + " & " + std::string(b.word); break;
        case 1: text = "„" + text + "“"; break;
        case 2: text = "100% " + std::string(a.word) + "!"; break;
        case 3: text = "Preise in € für " + std::string(pick(kReaders, below(1 << 20))); break;
        default: text = "O'" + surname + " erzählt"; break;
        }
    }
    title.haupttitel = text;

    // The author typed into the title field as well, now and then in capitals.
    if (chance(kTitleIsAuthor))
        title.haupttitel = below(2) ? author : upper(author);
    else if (chance(kEmptyTitle))
        title.haupttitel = std::string();
    if (chance(kNoTitle))
        title.haupttitel.reset();
    if (chance(kNoAuthor))
        title.haupteintrag.reset();

    if (chance(30))
        title.verlag.reset();
    else
        title.verlag = std::string(pick(kPublishers, below(1 << 20)));
    if (chance(30))
        title.jahr.reset();
    else
        title.jahr = 1948 + below(77);
    title.erfasst = dao::jetDateFromParts(1998 + below(27), 1 + below(12), 1 + below(28), 8 + below(10), below(60),
                                          below(60));
}

} // namespace demo
