#pragma once

#include "romimage.h"

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <QtGlobal>
#include <cstddef>
#include <vector>

namespace kst {

// How a value is shown: a count of tens of dollars in a box with its dollars in a caption
// ("($1500)" under a price, "x10 = $5000" beside the prize money), or a setting on a slider
// whose caption gives it in decimal and hexadecimal ("22 ($16)").
enum class Format { Price, PrizeMoney, Setting };

// The page that edits a value.
enum class Page { Shops, Racers };

// A fixed list of entries whose selected entry picks the index of the values a page shows. Its
// entries are the parts of a shop category or the game's races.
struct EntryList {
    const char* label; // "Motors", for people
    const char* description;
    const char* const* names; // the entries' names; null for the races, named by number
    int count;
};

// One kind of editable value: the page that edits it, where each of its values lies in the
// image, how wide it is and what a control can show of it. The value of entry i of its list
// lies at base + stride * i.
struct ValueKind {
    const char* name;  // stable, for scripts and patches: "shop.motor", "race.ai"
    const char* label; // what one value is, for people: "price", "enemy racers' turbo"
    const EntryList* entries;
    Page page;
    quint32 base;
    quint32 stride;
    int width;   // 1 byte, or 2 for a little-endian 16-bit word
    int maximum; // a control shows 0 to maximum; a stored value above shows as the maximum
    Format format;
};

// The rows of the value table, in order.
struct ValueKinds {
    const ValueKind* first;
    std::size_t count;

    const ValueKind* begin() const { return first; }
    const ValueKind* end() const { return first + count; }
    std::size_t size() const { return count; }
    const ValueKind& operator[](std::size_t i) const { return first[i]; }
};

// Every kind of value the editor edits: the five shop categories from left to right on their
// page, then the prize money and the three enemy settings of a race.
extern const ValueKinds kValueKinds;

// One value of an image: a kind, an entry of its list, and the number stored there.
struct Value {
    const ValueKind* kind;
    int index;
    int number;
};

// What one write changed: a value, in one run, or a batch of runs of bytes outside the known
// values (kind null, index -1); the bytes before and after, joined run by run, and where the runs
// lie.
struct WrittenValue {
    const ValueKind* kind;
    int index;
    QByteArray before;
    QByteArray after;
    std::vector<RunSpan> runs;
};

// What one Apply wrote, in the order written.
using WriteRecord = std::vector<WrittenValue>;

// An image of the right size with the identification word and nothing else: every other
// byte zero.
QByteArray BlankImage();

// The kind of that name, or null.
const ValueKind* FindKind(const QString& name);

quint32 OffsetOf(const ValueKind& kind, int index);
// The number that bytes of the kind's width stand for, and the bytes that store a number.
int Decode(const QByteArray& bytes);
QByteArray Encode(const ValueKind& kind, int number);

// A value in an image held in memory, and a value put into it.
int ValueIn(const QByteArray& image, const ValueKind& kind, int index);
void PutValue(QByteArray& image, const ValueKind& kind, int index, int number);
// Every value of an image held in memory, kind by kind in table order, entry by entry.
std::vector<Value> AllValues(const QByteArray& image);

// The values of image that differ from those of other.
std::vector<Value> ValuesDiffering(const QByteArray& image, const QByteArray& other);

// "Buzz Motor price", "Race 12, enemy racers' turbo": one value, named for people.
QString EntryLabel(const ValueKind& kind, int index);

// "Buzz Motor price 300 → 450, Race 2, prize money 5 → 7, 3 other bytes at 0x1A2B": what a
// record wrote, in order.
QString RecordText(const WriteRecord& record);

// The values of the open image: every read and write of a value goes through here, and each
// write is recorded until the record is taken.
class ImageValues {
public:
    explicit ImageValues(RomImage& rom) : rom_(rom) {}

    int Read(const ValueKind& kind, int index);
    void Write(const ValueKind& kind, int index, int number);
    // The whole image, in one read.
    QByteArray ReadImage();
    // Writes runs of bytes outside the known values, such as those a patch changes, checked as
    // one write (RomImage::WriteRuns), and records them as one entry.
    void WriteBytes(Runs runs);
    // What was written since the record was last taken.
    WriteRecord TakeRecord();
    // Puts back, latest first, the bytes each value and run of the record replaced where the
    // file still holds the bytes the record wrote, all in one batch. Returns the labels of the
    // values and runs another program changed since, which are left alone. Nothing of this is
    // recorded.
    QStringList Revert(const WriteRecord& record);
    // Writes the record's values and runs again where the file still holds the bytes they
    // replaced; the rest as Revert.
    QStringList Replay(const WriteRecord& record);
    // length bytes of game text from offset on, decoded through the character table.
    QString ReadText(quint32 offset, int length);

private:
    // Writes what a record entry writes and returns the bytes replaced; what a failed write may
    // have left torn is named in the error.
    QByteArray Put(const WrittenValue& value, const QByteArray& bytes);
    void Record(WrittenValue written);
    // Revert (back) or Replay over the entries in the order given.
    template <typename Entries> QStringList Exchange(Entries first, Entries last, bool back);

    RomImage& rom_;
    WriteRecord record_;
};

} // namespace kst
