"""The differences between the two hosts that are Calc's own, each explained in docs/calc.md.
A difference is (sheet, row, column, expected, found)."""


def explained(case, difference):
    return False
