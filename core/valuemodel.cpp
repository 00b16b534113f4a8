#include "valuemodel.h"

#include "gamewords.h"
#include "romfacts.h"
#include "romimage.h"
#include "roster.h"

#include <QtEndian>
#include <algorithm>
#include <cstring>
#include <iterator>
#include <utility>

namespace kst {

namespace {

constexpr const char* kMotors[] = {"Buzz Motor", "Din Motor", "Spur Motor", "Lug Motor",
                                   "VX Motor",   "Cad Motor", "Z35 Motor",  "Vette Motor",
                                   "Acme Motor", "Posh Motor"};
constexpr const char* kTires[] = {"GP Tire",   "Tiger Tire", "111 Tire", "Lucky Tire", "ZZZ Tire",
                                  "ABX Tire",  "Dummy",      "AMI Tire", "Rich Tire",  "Stone Tire",
                                  "Acme Tire", "B.G. Tire",  "Dummy"};
constexpr const char* kWings[] = {"Dummy",     "Dove Wing", "ZZZ Wing",
                                  "Hawk Wing", "F17 Wing",  "Acme Wing"};
constexpr const char* kFuels[] = {"Dummy",      "Norm Fuel",  "Mid Fuel",   "Crown Fuel",
                                  "Hyper Fuel", "Don's Fuel", "Zitco Fuel", "AOK Fuel",
                                  "Dummy",      "FX Fuel",    "Acme Fuel",  "Super Fuel"};
constexpr const char* kBodies[] = {"Dummy",   "Bob's Body", "AOK Body",   "Slm Body",
                                   "FX Body", "Acme Body",  "Light Body", "Dummy"};

template <std::size_t N>
constexpr EntryList Parts(const char* label, const char* description,
                          const char* const (&names)[N]) {
    return {label, description, names, int(N)};
}

const EntryList kMotorList =
    Parts("Motors", "The selected motor's price is shown for editing", kMotors);
const EntryList kTireList =
    Parts("Tires", "The selected tire's price is shown for editing", kTires);
const EntryList kWingList =
    Parts("Wings", "The selected wing's price is shown for editing", kWings);
const EntryList kFuelList =
    Parts("Fuels", "The selected fuel's price is shown for editing", kFuels);
const EntryList kBodyList =
    Parts("Bodies", "The selected body's price is shown for editing", kBodies);

// Prices are counts of tens of dollars; the editor keeps them at or below $320,000. The prices
// of a category lie five bytes apart; the other three bytes of each stride belong to the game.
constexpr int kPriceCeiling = 32000;
constexpr quint32 kPriceStride = 5;
// The race records lie 16 bytes apart; of each the editor uses the prize money word and three
// setting bytes of the enemy racers.
constexpr quint32 kRaceStride = 16;

const EntryList kRaceList = {
    "Races", "The selected race's prize money and enemy settings are shown", nullptr, kRaceCount};

// Between the motors and the tires lie two strides (0x179F8 and 0x179FD), between the wings
// and the fuels one (0x17A61), between the fuels and the bodies one (0x17AA2); no list
// reaches them.

const ValueKind kKindTable[] = {
    {"shop.motor", "price", &kMotorList, Page::Shops, 0x179C6, kPriceStride, 2, kPriceCeiling,
     Format::Price},
    {"shop.tire", "price", &kTireList, Page::Shops, 0x17A02, kPriceStride, 2, kPriceCeiling,
     Format::Price},
    {"shop.wing", "price", &kWingList, Page::Shops, 0x17A43, kPriceStride, 2, kPriceCeiling,
     Format::Price},
    {"shop.fuel", "price", &kFuelList, Page::Shops, 0x17A66, kPriceStride, 2, kPriceCeiling,
     Format::Price},
    {"shop.body", "price", &kBodyList, Page::Shops, 0x17AA7, kPriceStride, 2, kPriceCeiling,
     Format::Price},
    {"race.prize", "prize money", &kRaceList, Page::Racers, 0x1895, kRaceStride, 2, 65535,
     Format::PrizeMoney},
    {"race.ai", "enemy racers' AI strength", &kRaceList, Page::Racers, 0x1897, kRaceStride, 1, 22,
     Format::Setting},
    {"race.grip", "enemy racers' tire grip", &kRaceList, Page::Racers, 0x189B, kRaceStride, 1, 16,
     Format::Setting},
    {"race.turbo", "enemy racers' turbo", &kRaceList, Page::Racers, 0x189E, kRaceStride, 1, 99,
     Format::Setting},
};

} // namespace

const ValueKinds kValueKinds = {kKindTable, std::size(kKindTable)};

QByteArray BlankImage() {
    QByteArray image(kRomSize, '\0');
    qToLittleEndian(kIdentificationWord, image.data());
    return image;
}

const ValueKind* FindKind(const QString& name) {
    for (const ValueKind& kind : kValueKinds)
        if (name == QLatin1String(kind.name))
            return &kind;
    return nullptr;
}

quint32 OffsetOf(const ValueKind& kind, int index) {
    return kind.base + kind.stride * quint32(index);
}

int Decode(const QByteArray& bytes) {
    // Little-endian: the first byte is the lowest.
    int number = 0;
    for (int i = int(bytes.size()) - 1; i >= 0; --i)
        number = number << 8 | quint8(bytes[i]);
    return number;
}

QByteArray Encode(const ValueKind& kind, int number) {
    QByteArray bytes(kind.width, '\0');
    for (int i = 0; i < kind.width; ++i)
        bytes[i] = char(number >> (8 * i) & 0xFF);
    return bytes;
}

int ValueIn(const QByteArray& image, const ValueKind& kind, int index) {
    return Decode(image.mid(OffsetOf(kind, index), kind.width));
}

void PutValue(QByteArray& image, const ValueKind& kind, int index, int number) {
    image.replace(OffsetOf(kind, index), kind.width, Encode(kind, number));
}

std::vector<Value> AllValues(const QByteArray& image) {
    std::vector<Value> values;
    for (const ValueKind& kind : kValueKinds)
        for (int i = 0; i < kind.entries->count; ++i)
            values.push_back({&kind, i, ValueIn(image, kind, i)});
    return values;
}

std::vector<Value> ValuesDiffering(const QByteArray& image, const QByteArray& other) {
    std::vector<Value> differing;
    for (const Value& value : AllValues(image))
        if (ValueIn(other, *value.kind, value.index) != value.number)
            differing.push_back(value);
    return differing;
}

QString EntryLabel(const ValueKind& kind, int index) {
    const QString label = QString::fromUtf8(kind.label);
    if (kind.entries->names)
        return QStringLiteral("%1 %2").arg(QString::fromUtf8(kind.entries->names[index]), label);
    return QStringLiteral("Race %1, %2").arg(index + 1).arg(label);
}

namespace {

QString ValueLabel(const WrittenValue& value) {
    return EntryLabel(*value.kind, value.index);
}

// "3 other bytes at 0x1A2B".
QString RunLabel(const RunSpan& run) {
    return QStringLiteral("%1 other %2 at 0x%3")
        .arg(run.length)
        .arg(run.length == 1 ? QStringLiteral("byte") : QStringLiteral("bytes"))
        .arg(QString::number(run.offset, 16).toUpper());
}

} // namespace

QString RecordText(const WriteRecord& record) {
    QStringList parts;
    for (const WrittenValue& value : record) {
        if (value.kind)
            parts << QStringLiteral("%1 %2 \u2192 %3")
                         .arg(ValueLabel(value))
                         .arg(Decode(value.before))
                         .arg(Decode(value.after));
        else
            for (const RunSpan& run : value.runs)
                parts << RunLabel(run);
    }
    return parts.join(QStringLiteral(", "));
}

int ImageValues::Read(const ValueKind& kind, int index) {
    return Decode(rom_.ReadBytes(OffsetOf(kind, index), kind.width));
}

void ImageValues::Write(const ValueKind& kind, int index, int number) {
    Record(
        {&kind, index, {}, Encode(kind, number), {{OffsetOf(kind, index), quint32(kind.width)}}});
}

QByteArray ImageValues::ReadImage() {
    return rom_.ReadBytes(0, kRomSize);
}

void ImageValues::WriteBytes(Runs runs) {
    if (runs.spans.empty())
        return;
    QByteArray before = rom_.WriteRuns(runs);
    record_.push_back(
        {nullptr, -1, std::move(before), std::move(runs.bytes), std::move(runs.spans)});
}

void ImageValues::Record(WrittenValue written) {
    written.before = Put(written, written.after);
    record_.push_back(std::move(written));
}

namespace {

// The user knows a value by its name, not by its place in the file.
RomAccessError NamedFor(const RomAccessError& error, const WrittenValue* value) {
    if (error.Damaged().isEmpty() || !value || !value->kind)
        return error;
    return RomAccessError(true, error.Reason(),
                          QStringLiteral("the value \"%1\"").arg(ValueLabel(*value)));
}

// Sorted runs with those that overlap or touch made one.
std::vector<RunSpan> Joined(std::vector<RunSpan> runs) {
    std::sort(runs.begin(), runs.end(),
              [](const RunSpan& a, const RunSpan& b) { return a.offset < b.offset; });
    std::vector<RunSpan> joined;
    for (const RunSpan& run : runs) {
        if (!joined.empty() && run.offset <= joined.back().offset + joined.back().length)
            joined.back().length =
                std::max(joined.back().length, run.offset + run.length - joined.back().offset);
        else
            joined.push_back(run);
    }
    return joined;
}

} // namespace

QByteArray ImageValues::Put(const WrittenValue& value, const QByteArray& bytes) {
    try {
        return rom_.WriteBytes(value.runs.front().offset, bytes);
    } catch (const RomAccessError& error) {
        throw NamedFor(error, &value);
    }
}

WriteRecord ImageValues::TakeRecord() {
    return std::exchange(record_, {});
}

template <typename Entries>
QStringList ImageValues::Exchange(Entries first, Entries last, bool back) {
    std::vector<RunSpan> places;
    for (auto entry = first; entry != last; ++entry)
        places.insert(places.end(), entry->runs.begin(), entry->runs.end());
    if (places.empty())
        return {};
    // The file is read once, from the first place to the last, and each run compared with what
    // it holds; this copy of the stretch takes each run's new bytes, so that a later entry over
    // the same bytes finds what the earlier one left.
    const std::vector<RunSpan> stretch = Joined(places);
    const quint32 start = stretch.front().offset;
    QByteArray held =
        rom_.ReadBytes(start, int(stretch.back().offset + stretch.back().length - start));
    std::vector<RunSpan> taken;
    QStringList leftAlone;
    for (auto entry = first; entry != last; ++entry) {
        const QByteArray& expected = back ? entry->after : entry->before;
        const QByteArray& to = back ? entry->before : entry->after;
        qint64 at = 0;
        for (const RunSpan& run : entry->runs) {
            char* place = held.data() + (run.offset - start);
            if (std::memcmp(place, expected.constData() + at, run.length) == 0) {
                std::memcpy(place, to.constData() + at, run.length);
                taken.push_back(run);
            } else {
                leftAlone << (entry->kind ? ValueLabel(*entry) : RunLabel(run));
            }
            at += run.length;
        }
    }
    Runs writes{Joined(std::move(taken)), {}};
    for (const RunSpan& run : writes.spans)
        writes.bytes.append(held.constData() + (run.offset - start), run.length);
    try {
        rom_.WriteRuns(writes);
    } catch (const RomAccessError& error) {
        // A torn write is named by the value when it is the record's only one.
        throw NamedFor(error, std::next(first) == last ? &*first : nullptr);
    }
    return leftAlone;
}

QStringList ImageValues::Revert(const WriteRecord& record) {
    return Exchange(record.rbegin(), record.rend(), true);
}

QStringList ImageValues::Replay(const WriteRecord& record) {
    return Exchange(record.begin(), record.end(), false);
}

QString ImageValues::ReadText(quint32 offset, int length) {
    return DecodeText(rom_.ReadBytes(offset, length));
}

} // namespace kst
