// The texts that tell the user what became of an EDL import or export, in the caption table's
// language; the main window shows them in message boxes, clipwright-cli prints them.
#pragma once

#include <QString>

#include "edit/EdlImport.h"
#include "edit/EdlWriter.h"

class CaptionTable;

// Why a refused import was refused, with the line at fault, and that the list is unchanged.
QString EdlRefusalText(const EdlImport& import, const CaptionTable& captions);

// What an import made of the file, one line a count: scenes and tapes, then only the counts that
// are not zero (events skipped by reason, events left out, lines ignored by kind) and the
// counting mode when it differs.
QString EdlImportReportText(const EdlImportReport& report, const CaptionTable& captions);

// What an export has to tell: why nothing was written, or the scenes it left out; empty when
// all went as asked or the file layer has already told the user.
QString EdlExportText(const EdlExport& edl, const CaptionTable& captions);
