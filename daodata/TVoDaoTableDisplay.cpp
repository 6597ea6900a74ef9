// How the DAO dataset's fields show in grids: display widths, the text of
// cached memos and 16-byte binary fields shown (and typed) as GUID text.
#include "daodata/TVoDaoTable.h"

#include "daodata/VoDaoGuid.h"
#include "framework/data/DbConsts.h"
#include "framework/data/EDatabaseError.h"
#include "framework/data/TField.h"

namespace {

void widenTo(TField* field, int width)
{
    if (field->DisplayWidth() < width)
        field->SetDisplayWidth(width);
}

} // namespace

void TVoDaoTable::SetUpFieldDisplay(TField* field)
{
    switch (field->DataType()) {
    case ftDateTime: widenTo(field, 20); break;
    case ftMemo:
    case ftFmtMemo:
        if (!CacheMemos)
            break; // the value is not at hand: the grid shows the type name
        widenTo(field, 30);
        if (!field->OnGetText)
            field->OnGetText = [](TField* sender, QString& text, bool) { text = sender->AsString(); };
        break;
    case ftBytes:
        if (!ShowGUID || field->Size() != 16)
            break;
        widenTo(field, 38);
        if (!field->OnGetText)
            field->OnGetText = [](TField* sender, QString& text, bool) {
                text = sender->IsNull() ? QString() : vodao::GuidText(sender->AsBytes());
            };
        if (!field->OnSetText)
            field->OnSetText = [](TField* sender, const QString& text) {
                if (text.trimmed().isEmpty()) {
                    sender->Clear();
                    return;
                }
                const QByteArray bytes = vodao::GuidBytes(text);
                if (bytes.size() != 16)
                    DatabaseError(DbText(DbConsts::SInvalidGuid).arg(text));
                sender->SetAsBytes(bytes);
            };
        break;
    default: break;
    }
}
