// The embedded spreadsheet application.
