#pragma once

namespace tavrin {

class Book;
class Sheet;

// After whole rows were inserted (count > 0) or deleted (count < 0) at a row of a sheet, every
// formula of the workbook that points at that sheet is rewritten to point at the same cells:
// absolute references into moved rows shift, relative references whose target moved relative
// to their cell change their offset, a range grows with rows inserted inside it and shrinks
// with rows deleted from it, and a reference whose rows were all deleted becomes #REF!.
// Formula cells on the sheet that moved themselves get their texts written anew where they
// stand.
void MoveFormulaRows(Book& book, Sheet& moved, int at, int count);

}  // namespace tavrin
