#pragma once

#include <QPageSize>
#include <QString>

#include "check/WinsOfFile.h"

class QPrinter;

// The claim sheet: the wins still to claim of a data file, soonest deadline first, with draw,
// date, ticket numbers, tier, prize and deadline, as a table that fits the width of A4 and of
// Letter paper alike.
QString ClaimSheetHtml(const check::WinsOfFile& wins, const QString& fileName);
// Lays the sheet out on the printer's pages and prints them.
void PrintClaimSheet(const QString& html, QPrinter* printer);
// Writes the sheet as a PDF file on the given paper.
store::Result<void> SaveClaimSheetPdf(const QString& html, const QString& path,
                                      QPageSize::PageSizeId paper);
// The paper of the place the program runs in: Letter in the Americas that use it, else A4.
QPageSize::PageSizeId LocalPaper();
