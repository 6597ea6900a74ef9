#pragma once
// Cut, Copy and Paste of records between a TVoDaoDBGrid and the system
// clipboard. Copy offers three renderings of the same records:
//   text/plain                 the plain text (office form when the grid's
//                              OfficeClipboardFormat is on)
//   text/plain;charset=utf-16  the same text as UTF-16 (with byte order mark)
//   HexRecordsetMimeType()     the "HEX Recordset" text (UTF-8), which pastes
//                              back into another grid without loss
// A registered clipboard format travels under the MIME type Qt gives it on
// Windows (application/x-qt-windows-mime;value="<name>"); on X11 that is the
// name of the selection target too. Paste also recognises the Windows format
// names other programs put on an X11 clipboard (…;windows_formatname="<name>").
#include <QString>
#include <vector>

class QMimeData;
class TField;
class TVoDaoDBGrid;
struct TClipboardRecords;

// The MIME type of a registered clipboard format.
QString ClipboardFormatMimeType(const QString& formatName);
QString HexRecordsetMimeType();
extern const QString kUtf16TextMimeType;
// Whether data offers the registered clipboard format of that name.
bool OffersClipboardFormat(const QMimeData& data, const QString& formatName);
// The clipboard contents for both renderings.
QMimeData* RecordsMimeData(const TClipboardRecords& records);

// The fields a copy takes: those of the grid's columns (visible or hidden,
// in column order) that are data fields.
std::vector<TField*> CopiedFields(const TVoDaoDBGrid& grid);

// The grid's entries; each needs an open TVoDaoTable (Copy and Cut a
// non-empty one, Cut and Paste a grid that is not read-only).
// Copy: the selected rows, or the current record when none is selected;
// the current record and the scroll position are as before afterwards.
void GridCopy(TVoDaoDBGrid& grid);
// Cut: asks, copies, and deletes as Ctrl+Delete in the grid does.
void GridCut(TVoDaoDBGrid& grid);
// Paste: the "HEX Recordset" when offered, else the plain text; asks first,
// and tells how many records could not be pasted.
void GridPaste(TVoDaoDBGrid& grid);
