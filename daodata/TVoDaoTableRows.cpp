// Reading rows by position for grids, on a clone of the dataset's recordset.
#include "daodata/TVoDaoTable.h"

#include "engine/Recordset.h"
#include "framework/data/TRowReader.h"

#include <string>
#include <vector>

class TVoDaoTable::RowReader : public TRowReader {
public:
    explicit RowReader(TVoDaoTable& table)
        : table_(table), cursor_(table.recordset_->clone()), filtered_(table.ClientFilterActive()),
          byPosition_(table.tableType_ != 1)
    {
        // A clone has counted no rows yet: AbsolutePosition reaches only rows
        // counted, so count them all (the keyset is at hand, this is cheap).
        if (byPosition_ && !filtered_ && cursor_->size() > 0)
            cursor_->moveLast();
        probe_ = table.AllocRecordBuffer();
    }
    ~RowReader() override { cursor_->close(); }

    int ReadRows(int first, int count, TRecordBuffer& buffer, const std::function<void(int)>& rowRead) override
    {
        if (first < 0 || count <= 0 || !MoveTo(first))
            return 0;
        int read = 0;
        for (;;) {
            Fetch(static_cast<TVoDaoRecordBuffer*>(&buffer));
            ++read;
            rowRead(position_);
            if (read == count || !Step())
                break;
        }
        return read;
    }

private:
    static constexpr int kCheckpointEvery = 64;

    // Reads the clone's row into a buffer as the dataset reads its own.
    void Fetch(TVoDaoRecordBuffer* buffer)
    {
        table_.OnOtherCursor(cursor_, [&] {
            table_.position_ = rowNumber_;
            table_.FetchInto(buffer);
        });
    }

    bool MoveTo(int target)
    {
        if (filtered_)
            return MoveToAccepted(target);
        dao::Recordset& rs = *cursor_;
        if (byPosition_) {
            if (target >= rs.recordCount())
                return false;
            rs.setAbsolutePosition(target);
        } else {
            // Table-type recordsets have no AbsolutePosition: move from where the clone stands.
            if (position_ < 0 || rs.bof() || rs.eof()) {
                if (rs.size() == 0)
                    return false;
                rs.moveFirst();
                if (rs.eof())
                    return false;
                position_ = 0;
            }
            if (target != position_)
                rs.move(target - position_);
            if (rs.eof() || rs.bof()) {
                position_ = -1;
                return false;
            }
        }
        position_ = rowNumber_ = target;
        return true;
    }

    bool Step()
    {
        if (filtered_)
            return NextAccepted();
        cursor_->moveNext();
        if (cursor_->eof()) {
            position_ = -1;
            return false;
        }
        rowNumber_ = ++position_;
        return true;
    }

    // --- while OnFilterRecord filters: positions among the accepted rows ---
    bool MoveToAccepted(int target)
    {
        if (position_ < 0 || position_ > target) {
            // Start again from the nearest row whose position is known.
            const size_t known = std::min(size_t(target / kCheckpointEvery), checkpoints_.size());
            if (known == 0) {
                position_ = -1;
                if (cursor_->size() == 0)
                    return false;
                cursor_->moveFirst();
                if (cursor_->eof())
                    return false;
                rowNumber_ = 0;
                if (Accepted())
                    Record(0);
                else if (!NextAccepted())
                    return false;
            } else {
                const Checkpoint& at = checkpoints_[known - 1];
                cursor_->setBookmark(at.bookmark);
                position_ = int(known - 1) * kCheckpointEvery;
                rowNumber_ = at.rowNumber;
            }
        }
        while (position_ < target)
            if (!NextAccepted())
                return false;
        return true;
    }

    bool NextAccepted()
    {
        for (;;) {
            cursor_->moveNext();
            if (cursor_->eof()) {
                position_ = -1;
                return false;
            }
            ++rowNumber_;
            if (Accepted()) {
                Record(position_ + 1);
                return true;
            }
        }
    }

    bool Accepted()
    {
        Fetch(static_cast<TVoDaoRecordBuffer*>(probe_.get()));
        return table_.RecordPassesFilter(probe_.get());
    }

    void Record(int position)
    {
        position_ = position;
        if (position % kCheckpointEvery == 0 && size_t(position / kCheckpointEvery) == checkpoints_.size())
            checkpoints_.push_back({cursor_->bookmark(), rowNumber_});
    }

    struct Checkpoint {
        std::string bookmark;
        int rowNumber;
    };

    TVoDaoTable& table_;
    std::shared_ptr<dao::Recordset> cursor_;
    const bool filtered_;
    const bool byPosition_;
    int position_ = -1;  // position of the clone's row among the rows read, -1 when it stands on none
    int rowNumber_ = -1; // its number among all rows of the recordset
    std::unique_ptr<TRecordBuffer> probe_;
    std::vector<Checkpoint> checkpoints_; // every kCheckpointEvery-th accepted row
};

std::unique_ptr<TRowReader> TVoDaoTable::CreateRowReader()
{
    if (!recordset_ || !Active() || tableType_ == 8 || !bookmarkable_)
        return nullptr;
    return std::make_unique<RowReader>(*this);
}
