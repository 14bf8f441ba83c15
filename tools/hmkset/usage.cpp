#include "usage.h"

#include <array>

using namespace Qt::StringLiterals;

namespace {

constexpr std::array<CommandHelp, 8> Commands = {{
    {u"info", 1, u"info FILE",
     uR"(Prints the header's tileset count and entries per tileset, the file's length, the
length those counts call for (5 + T * (33 + 32 * E)) and the bytes left over or
missing. Works on damaged files the editor refuses to open.)"},
    {u"dump", 1, u"dump FILE",
     uR"(Opens FILE as the editor does and prints it as JSON, one name or entry a line:
  "text"           text stored with an end mark, shorter than the field
  "text      "     the whole field with its padding and no end mark, exactly
                   33 characters for a name, 32 for an entry
  null             an entry never assigned
  {"hex": "..."}   any other bytes, two hex digits a byte
Characters are the game's code page, Windows-1252. "hmkset build" turns the
JSON back into exactly the bytes "hmkset resave" writes, save any bytes after
the last tileset, which the JSON does not hold.

  hmkset dump hmkset.dat > hmkset.json)"},
    {u"build", 2, u"build JSON OUT",
     uR"(Checks JSON (a file, or "-" for standard input) and writes the tileset file OUT.
All of it is checked first: counts from 1 to 255 that match the arrays, names of
at most 33 characters, entries of at most 32, only Windows-1252 characters. A
problem is reported with its place, such as sets[3].entries[12], and nothing is
written; so are a control character typed raw inside a string (write \t or
\u0009) and a key given twice. OUT is replaced only once the new file is
complete. JSON over 16 MiB, more than any tileset file's, is refused with exit
status 2 as soon as that much is read.

  hmkset build hmkset.json hmkset.dat
  sed 's/grass_/meadow_/' hmkset.json | hmkset build - hmkset.dat)"},
    {u"resave", 2, u"resave IN OUT",
     uR"(Opens IN and saves it as OUT exactly as the editor's Open then Save do: fields
are tidied the way the editor tidies them and bytes after the last tileset are
kept after it. Shows what the editor would make of a file.)"},
    {u"diff", 2, u"diff A B",
     uR"(Opens A and B as the editor does and prints what differs from A to B, one line
each, numbered from 0 as in the editor's lists:
  tilesets: 70 -> 71                        the header's counts
  entries per tileset: 151 -> 152
  tileset 3 name: "Grass" -> "Meadow"       a name or an entry, as the editor
  tileset 3 entry 12: "tree" -> "tree 2"    shows it, quoted, in UTF-8
  tileset 1 added: "Castle 8"               a tileset only B has
  tileset 9 removed: "Ruins 1"              a tileset only A has
  tileset 4 (was 3) entry 12: "a" -> "b"    a tileset whose number moved
  tileset 4 entry 9: "c" -> (never written)  an entry never written (all NUL)
  trailing bytes: 0 -> 12                   bytes after the last tileset
  trailing bytes: 12, changed
Tilesets are lined up by content, so a tileset inserted or deleted is one line
and the tilesets after it are compared with their own. Texts end at the first
NUL and are Windows-1252; blanks show inside the quotes, control characters as
JSON escapes. When the entry counts differ, the entries both files have are
compared.
Exit status: 0 the same, 1 different, 2 a file the editor would not open (its
message is shown with the file's name and the reason).

  hmkset diff old/hmkset.dat hmkset.dat)"},
    {u"merge", 3, u"merge BASE OURS THEIRS [-o OUT]",
     uR"(Merges OURS and THEIRS, two files changed from BASE, field by field, and saves
the merge as OUT (OURS when no -o is given) the way the editor saves:
  - a name or entry changed in only one of them takes that change; changed
    alike in both, it takes it once;
  - a tileset inserted or deleted in one of them is inserted or deleted;
    tilesets inserted in both at the same place are all kept, those of OURS
    first (a tileset inserted in both with the same bytes is kept once);
  - a field changed differently in both, or a tileset deleted in one and
    changed in the other, is a conflict: OUT keeps what OURS has there, and
    each conflict is listed with its texts as diff shows them:
  tileset 3 entry 12: base "tree", ours "oak", theirs "pine"
  tileset 5: base "Swamp", ours removed, theirs changed "Swamp"
Tilesets are lined up by content, as diff lines them up. OUT keeps the bytes
OURS has after its last tileset. The three files must have the same number of
entries per tileset.
Exit status: 0 merged, 1 merged with conflicts, 2 nothing written: a file the
editor would not open, entry counts that differ, a merge of no tileset or more
than 255, or a failed save.

As git's merge driver, with "hmkset.dat merge=hmkset" in .gitattributes:
  git config merge.hmkset.driver "hmkset merge %O %A %B -o %A")",
     true},
    {u"export", 2, u"export FILE TABLE",
     uR"help(Writes the tilesets of FILE as a table for spreadsheets, its format chosen by
TABLE's extension:
  .xlsx   a workbook whose every cell is text, so no spreadsheet turns "0012"
          into 12, "1-2" into a date or "=SUM(A1)" into a formula: the safe one
  .csv    comma-separated, UTF-8 with a byte-order mark
  .tsv    tab-separated, UTF-8 with a byte-order mark
The first row heads the columns: Tileset, Name, 000, 001 and on, one per entry;
then a row per tileset with its number, its name and its entries as the editor
shows them. TABLE is replaced only once the new file is complete.
Exit status: 0 written, 2 nothing written (FILE not opened, a failed write).

  hmkset export hmkset.dat tilesets.xlsx)help"},
    {u"import", 2, u"import FILE TABLE [-o OUT] [--append]",
     uR"(Puts the texts of TABLE (.xlsx, .csv or .tsv, as export writes them) into the
tilesets of FILE and saves the result as OUT (FILE when no -o is given). Rows are
matched by the Tileset column, columns by their headers; a field changes only
when the table's text differs from what it shows, so every other field keeps
its bytes, and a row or column left out leaves its fields alone. Rows numbered
from one past the last tileset on add tilesets with --append.
The whole table is refused, naming the row and column, and nothing is written,
for an unknown or repeated column, a text too long for its field, a control
character or one Windows-1252 does not hold, a tileset number that is not one,
repeats or skips ahead, or a file that is no such table.
Exit status: 0 done (nothing to change included), 2 nothing written.

  hmkset import hmkset.dat tilesets.xlsx)",
     true, true},
}};

} // namespace

const CommandHelp *findCommand(QStringView name)
{
    for (const CommandHelp &command : Commands) {
        if (command.name == name)
            return &command;
    }
    return nullptr;
}

QString usageText()
{
    return uR"(Usage: hmkset COMMAND ARGUMENTS

Reads and writes hmkset.dat, the tileset file of Harrowmark, the way the HMK
Tileset Editor does, so tilesets can be kept in version control and changed by
scripts.

Commands:
  info FILE        header counts and length of FILE, even a damaged one
  dump FILE        FILE as JSON on standard output
  build JSON OUT   checks JSON ("-" for standard input) and writes OUT from it
  resave IN OUT    opens IN and saves it as OUT, as the editor would
  diff A B         names and entries that differ from A to B, one a line
  merge BASE OURS THEIRS [-o OUT]
                   the changes from BASE to OURS and to THEIRS in one file,
                   field by field, saved as OUT (OURS when no -o is given)
  export FILE TABLE
                   FILE as a table for spreadsheets (.xlsx, .csv or .tsv)
  import FILE TABLE [-o OUT] [--append]
                   the changed texts of TABLE put into FILE, saved as OUT
  help [COMMAND]   this text, or the help of one command
  --version        the version of hmkset

Typical use:
  hmkset dump hmkset.dat > hmkset.json
  (edit hmkset.json, commit it)
  hmkset build hmkset.json hmkset.dat

Exit status: 0 done, 1 failed (build then writes nothing), 2 wrong usage, a
name that is not UTF-8 or JSON over 16 MiB; diff, merge, export and import
have their own (see "hmkset help diff" and so on).
Run "hmkset COMMAND --help" for the details of a command.)"_s;
}

QString commandHelpText(const CommandHelp &command)
{
    return u"Usage: hmkset %1\n\n%2"_s.arg(command.synopsis, command.details);
}
