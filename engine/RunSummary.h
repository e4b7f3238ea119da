// An Auto Rec's outcome for the diagnostics file: how it ended, as the report's codes, and its
// verification table.
#pragma once

#include <QString>

class CaptionTable;
class VerificationReport;

// "finished" or "stopped: no_answer, deck recorder, step in_point", then the report's table in
// the captions' language.
QString RunSummaryText(const VerificationReport& report, const CaptionTable& captions);
