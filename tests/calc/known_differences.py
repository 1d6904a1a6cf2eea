"""The differences between the two hosts that are Calc's own, each explained in docs/calc.md.
A difference is (sheet, row, column, expected, found)."""


ERRORS = ("#NULL!", "#DIV/0!", "#VALUE!", "#REF!", "#NAME?", "#NUM!", "#N/A")


def _calc_constant(expected, found):
    """Calc holds neither an error value nor a Boolean as a constant: an error copied as a value
    is a formula of that error, and Calc reads a Boolean cell of a file as =TRUE() or =FALSE()."""
    if not (isinstance(expected, tuple) and isinstance(found, tuple)) or expected[1] is not None:
        return False
    if expected[0] in ERRORS and found[0] == expected[0]:
        return found[1] in ("=", "=" + expected[0])
    return found[1] in ("=TRUE()", "=FALSE()") and found[0] == expected[0]


def explained(case, difference, pages_checked):
    """Page subtotals go where each host's pages end, and Calc fits another count of rows on a
    page than the embedded host: on the copy they make, cells may differ when Calc's own pages
    were checked to end in subtotals."""
    sheet = difference[0]
    if case["method"] == "FYXJYHJ" and sheet == case["sheet"] + " (2)":
        return bool(pages_checked)
    return _calc_constant(difference[3], difference[4])
