// kerfline-convert: the unattended conversion of text files to DXF, without a window. The
// positional form applies the same argument rules and exports as the window's batch run; the
// named form is for scripts, and refuses what the positional form quietly clamps or ignores.
#include <sys/stat.h>

#include <exception>
#include <iostream>
#include <string>
#include <vector>

#include "app/large_heap.h"
#include "appcore/batch_arguments.h"
#include "appcore/conversion_report.h"
#include "appcore/convert_command.h"
#include "appcore/named_conversion.h"
#include "appcore/option_table.h"
#include "appcore/program_folder.h"
#include "appcore/settings_file.h"
#include "appcore/settings_location.h"
#include "appcore/version.h"
#include "common/error.h"
#include "export/output_file.h"
#include "export/temporary_registry.h"
#include "export/text_export.h"
#include "richtext/document_loader.h"
#include "richtext/styled_text.h"
#include "vectorizer/UTTF2Vct.h"

namespace {

using namespace kerfline;

constexpr int kExitOk = 0;
constexpr int kExitFailed = 1;
constexpr int kExitUsage = 2;

constexpr const char* kUsage = R"(Usage: kerfline-convert [--report] INPUT [SCALE [PITCH [RESOLUTION [SPACE [LAYER [MODE]]]]]]
       kerfline-convert [OPTION...] INPUT...
       kerfline-convert [OPTION...] --text STRING -o FILE
       kerfline-convert --dump-text INPUT
       kerfline-convert --help | --version | --list-fonts

Converts the text of INPUT, every character in its own font and size, into straight-line
outlines and writes them as a DXF file for a cutting machine.

The positional form (the first usage line):

INPUT       rich text (RTF) or plain text (UTF-8, UTF-16 with byte-order mark, or
            Windows-1252); the content decides, not the name. Plain text is set in the
            window's default font, MS Sans Serif at 8 points (or the face fontconfig
            puts in its place).
            The DXF goes beside INPUT: a final ".rtf", then a final ".txt" (any letter
            case) is removed and ".DXF" appended:  sign.rtf -> sign.DXF,
            sign.txt.rtf -> sign.DXF, notes.doc -> notes.doc.DXF.
            An existing file of that name is replaced.
SCALE       size, 1 to 10000, default 100. At 100 a 10-point capital is about
            1.7 drawing units tall (size grows with SCALE x point size).
PITCH       distance added to Y at each new line, default -2.000 (negative: lines go down).
RESOLUTION  straight strokes per curve piece, 1 to 100, default 2.
SPACE       space between characters in percent, 0 to 100, default 10: each character
            starts at (1 + SPACE/100) times the summed widths (origin to rightmost
            outline point) of the characters before it on its line.
LAYER       DXF layer of every entity, fewer than 40 characters; default: the "Layer"
            value of the settings file, else 0.
MODE        1  "PolyLines XY only": every stroke a two-vertex POLYLINE at Z cutting.
            2  "Lines + Z moves" (also when MODE is absent): every stroke a 3-D LINE at
               Z cutting, with a plunge line from Z up down to Z cutting at the start of
               every closed contour and a retract line back up at its end.
            Anything else writes nothing and exits with status 2.

Numbers are read with "." as decimal separator: optional blanks before, optional sign,
digits, optional fraction, optional exponent (1e1), nothing after. SCALE, RESOLUTION and
SPACE are rounded to the nearest integer (exact halves to even: 2.5 -> 2, 3.5 -> 4) and
clamped to their range (0.4 -> 1, 20000 -> 10000). PITCH is used as typed. An argument
that is not a number, or a LAYER of 40 or more characters, is ignored and its default
used. Arguments are positional, so to give a later one give all before it; an empty
argument ("") takes no position. Arguments after the seventh are ignored.
--report or --help (-h) as the first argument keeps this form.

The named form: any argument that starts with "--", or is one of -o -f -q -V, selects it.
Each option may be written "--name VALUE" or "--name=VALUE"; a value may start with "-"
(--pitch -3). A value that is not a number or out of its range, and an unknown option,
stop the run before anything is read or written (exit status 2). Numbers follow the rule
above; SCALE, RESOLUTION, SPACE and --size are rounded the same way but never clamped.

Single-line faces: the Hershey fonts (/usr/share/hershey-fonts) and the LFF fonts
(/usr/share/librecad/fonts, and your own in $XDG_DATA_HOME/kerfline/fonts) are faces like
any other: name one in the RTF font table ("ISO 3098", "Hershey Sans"; case and blanks do
not matter) and its characters are cut along their centre lines, each line as an open
path (a plunge at its start, a retract at its end) instead of a closed contour. Characters
such a face lacks come from an outline face, as for any face that lacks them.

  INPUT...            files to convert, each to its own DXF named by the rule above; a
                      failure on one is told and the others still run. "-" reads standard
                      input (needs -o). "--" ends the options: later arguments are inputs
                      (kerfline-convert -- a.txt b.txt converts both).
  -o, --output FILE   write to FILE instead ("-": standard output); one input only
  -f, --format FORM   lines (default): "Lines + Z moves";  polylines: "PolyLines XY only";
                      closed: one closed polyline per contour, holes before the outline
                      around them (DXF R12 POLYLINE, or R2000 LWPOLYLINE with
                      --dxf-version 2000), with units and extent in the header;
                      svg: an SVG drawing (INPUT's name with .svg), one path per
                      character, written as it is placed (without weld or kerf, in the
                      classic placement), so a text of millions of characters needs
                      little memory; gcode: a G-code program for GRBL and LinuxCNC (see
                      below; INPUT's name with .nc)
  --dxf-version V     12 (default) or 2000, for --format closed
  --units U           mm (default) or in (also inch): what one drawing unit is, written
                      in the closed DXF's header and the SVG's size
  --fit-width W       scale every X and Y by one factor about the origin so that the
  --fit-height H      drawing is W wide or H high, in drawing units (0.001 to 100000;
                      not both; any form; Z is not scaled)
  --scale N           1 to 10000, default 100
  --pitch P           line pitch, any number, default -2.000
  --resolution N      1 to 100, default 2
  --space N           0 to 100 percent, default 10
  --layer NAME        fewer than 40 characters; default: the settings file's, else 0
  --z-up Z            travel height, -1000 to 1000; default: the settings file's, else 1.00
  --z-cut Z           cutting depth, -1000 to 1000; default: the settings file's, else 0.00
                      (--layer, --z-up and --z-cut apply to this run only)
  --font FACE         face of plain text and --text, default MS Sans Serif (an RTF input
                      keeps its own fonts)
  --size PT           its size in points, 1 to 1638, default 8
  --bold, --italic    its style
  --text STRING       convert STRING (UTF-8; a line feed or \n breaks the line, \\ is one
                      backslash) instead of a file; needs -o
  --settings FILE     read the settings from FILE, which must be a readable regular file
                      of at most 1 MB
  --report            after writing, print the output file, its entity count and extent
                      (of the closed, SVG and G-code forms: path count, extent with its
                      unit, the rapid travel when the paths were planned (--order),
                      and the lines and arcs written with --tolerance or --arcs;
                      on standard error when the drawing goes to standard output)
  -q, --quiet         print nothing but the data asked for (no report)
  --dump-text         print what was read instead of writing a drawing: one JSON object,
                      {"text": "...", "runs": [{"start": 0, "length": 5, "face": "Arial",
                      "size": 10, "bold": false, "italic": false, "underline": false,
                      "strike": false, "color": "#000000", "charset": 0}, ...]}; "text"
                      has every line break as CR LF, start and length count characters
                      (code points), face is the name as the document gives it. This
                      answers "what did Kerfline read from my file?"
  --list-fonts        print every face, outline and single-line, one per line; a
                      single-line face is marked (single-line) after its name
  -V, --version       print the version
  -h, --help          print this text
Weld and kerf (every form; single-line fonts' open paths are never welded or offset):
  --weld              join letters whose outlines overlap (on a line or across lines)
                      into one outline, holes kept, so no cut runs through a neighbour;
                      with --kerf, letters set closer than the kerf are joined as well
  --kerf W            move every closed outline by W/2 (drawing units, 0.0001 to 100)
                      with round corners, within 1% of W/2 (at most 0.001 units, and at
                      most 1,024 chords to a full turn) of the true arc; a hole or part
                      narrower than the kerf is left out and named on standard error (and
                      by --report; the first four named, the rest counted); so are letters
                      whose paths overlap without --weld (up to 1,000 pairs)
  --kerf-side SIDE    outside (default): parts keep their drawn size; inside: holes keep
                      theirs (stencils, inlays); on: no offset
G-code (-f gcode): each contour in cut order from a rapid move at Z up, a plunge to Z
cutting, the cut back to its start, a retract; holes before their outline, and a
letter inside another (in its counter, or in a frame) before the one around it. No line
is longer than 249 characters: a longer comment (the source's path) is cut around "...".
  --order ORDER       travel (the default for gcode): paths planned for short rapid
                      travel from the origin, each ring entered at a chosen point (a
                      corner where it can), open paths from either end, every hole still
                      before the outline holding it; text (the default for closed and
                      svg, whose readers plan their own): character by character. The
                      lines and polylines forms always keep the text order. --report
                      gives the rapid travel, that of the text order, and a bound no
                      order can beat (each path's gap to its nearest neighbour, summed)
Leads (closed, svg and gcode; every closed contour, in either order):
  --lead-in L         start each contour L units away in the scrap and run in to it
  --lead-out L        leave each contour by L units into the scrap
  --lead-type TYPE    line (default): along the corner's bisector; arc: a quarter circle
                      of radius L, tangent to the contour
  --overcut L         cut on L units past the start along the contour, closing the seam
                      The scrap follows --kerf-side: outside (and on) puts it outside
                      outlines and inside holes, inside the opposite. A lead that would
                      cross another path is shortened or left out, and named on standard
                      error and by --report. A contour with a lead or an overcut is one
                      open path from the pierce to the end of the lead-out: in the closed
                      DXF its polyline is then no longer closed (flag 0).
Curves (every form; without these every file keeps its bytes):
  --tolerance T       cut each curve piece into the fewest chords that keep the path
                      within T drawing units (0.0001 to 10) of the true curve, after
                      scale and fit (--fit-box, --stretch-x, --slant and a warp too;
                      with --kerf, of the true offset), instead of RESOLUTION's fixed count
  --arcs              closed, svg and gcode: fit every path, last of all (after weld,
                      kerf, order and leads), with lines and tangent arcs within the
                      tolerance (default 0.01 mm or 0.0004 in without --tolerance):
                      DXF bulges (group 42), SVG A commands, G2/G3 with I J (G17);
                      refused for lines and polylines (exit 2); --report gives the
                      lines and arcs written
  --units mm|in       G21 with 4 decimals (default) or G20 with 5
  --feed F            cutting feed, units per minute; default 600 mm/min or 24 in/min
  --plunge-feed F     plunge feed; default 200 mm/min or 8 in/min (a third of the feed:
                      a bit cuts worse straight down)
  --spindle RPM       M3 S<RPM> after the header and M5 at the end (1 to 100000);
                      default: no spindle words
  --depth-per-pass D  passes D, 2D, ... deep below the surface (Z 0), the last exactly at
                      Z cutting, all of a contour before the next; default: one pass
  --laser             no Z moves: M4 S<power> before each contour, M5 after it
  --power S           laser power (0 to 100000), default 1000
Filled letters (closed, svg and gcode; overlapping letters are filled as one, holes stay
empty; single-line paths are engraved along their line and said so):
  --cut OP            profile (default): along the outline; hatch: parallel lines inside
                      the letters; offset-fill: concentric rings inward, each one closed;
                      pocket: the inside cleared by a router bit; vcarve: see
                      V-carving below
  --interval I        hatch and offset-fill: lines I units apart (required); hatch rows
                      lie at whole multiples of I from the origin, offsets start I/2 in
  --hatch-angle A     hatch: lines A degrees counter-clockwise from X (default 0)
  --cross-hatch       hatch: a second set of lines at A + 90 after the first
  --unidirectional    hatch: every line cut the same way; default: back and forth, each
                      line linked to the next where the link stays inside the letter
  --overscan L        hatch with --laser: run on L units beyond each end, beam off (S0)
  --fill-outline      hatch: the outline cut after the fill
  --tool-diameter D   pocket: the bit's diameter (required)
  --step-over S       pocket: passes S times D apart (0.05 to 0.95, default 0.4): rings
                      offset inward with round joins, islands kept, linked without lifting
                      where the link stays within reach of the walls, the finishing pass
                      along the walls last; what the bit cannot reach is reported as area
                      and the letters with parts narrower than the bit are named
  --finish-allowance A  pocket: the clearing passes stay A from the walls until the
                      finishing pass (below the bit's radius; default 0)
  --background        pocket: clear around the letters instead (raised letters): the
                      letters' box grown by --margin M (default D), less the letters
  --margin M          the background's border beyond the letters' box
  G-code of a fill: a router cuts every --depth-per-pass depth of a letter before the
  next, plunging at the start of each run; with --laser the beam is on (M4 S<power>)
  only while filling, S0 over links and overscan, M5 after each run. The closed and
  svg forms hold the fill's lines and rings (hatch lines as open two-point paths,
  LINE entities in the closed DXF). With --arcs the rings (pocket passes, offsets,
  finishing pass, raised letters' border) are written with arcs within 0.001 mm of
  the true offset. With --order travel (gcode's default) hatch chains and offset rings
  are ordered for short rapids within each letter, then the letters; a pocket keeps
  its passes' order.
V-carving (gcode, closed, svg): --cut vcarve (profile, the outline cut, is the default)
carves each letter with a V-bit along its medial axis, as deep as the letter is wide
there, so that the bit's flanks just touch the outline (within 0.002 mm):
z = -r / tan(angle / 2), r the distance to the outline; the bit reaches the surface at
sharp corners. Each connected piece of a letter is cut in as few strokes as possible (a
short side branch is cut there and back rather than lifted out of); strokes are planned
for short rapid travel. Single-line faces have no area: their lines are engraved at
--max-depth (or 1 mm), and standard error says so. --depth-per-pass splits deep strokes
into passes. The closed form (R12 or 2000) holds each stroke as one 3-D POLYLINE (flag 8,
every vertex at its depth); the svg form shows the carving from above, each stroke as
wide as the bit cuts at its depth, in runs of near-equal width. A clearing program takes
the same form.
  --bit-angle DEG     the V-bit's included angle, 10 to 170, default 60
  --bit-diameter D    the bit's diameter: no deeper than its cone (optional)
  --max-depth D       no deeper than D; where the letter is wider the floor is flat and
                      cleared: by the V-bit in offset passes, or by --clear-tool
  --step-over F       clearing passes F x the tool's width apart (as for pocket)
  --clear-tool D      a flat end mill of diameter D clears the flat floor, inset by its
                      radius, in a second program; the V-bit traces the floor's edge so
                      no ridge stands between the two
  --clear-output FILE the end mill's program (with --clear-tool)
Inlays (with --cut vcarve; give both parts the same bit, depth and gap):
  --inlay PART        female: the pocket, the letters carved to the inlay depth and the
                      floor cleared; male: the plug, the letters mirrored about their box's
                      centre and the box round them carved, so that the letters stand as
                      mesas whose tops are the board's surface (Z 0), their walls meeting
                      the outline at Z -(D - G) and the background at Z -D. Saw the plug
                      out along its box (its header says where), turn it over about the
                      mirror line and press it in: the walls bear (no seam shows) and G
                      stays over the pocket's floor; every gap lies between 0 and G
  --inlay-depth D     the pocket's depth, default --max-depth
  --inlay-margin M    the plug's box beyond the letters, default 2 mm
  --glue-gap G        left over the pocket's floor, above 0 and below D, default 0.5 mm;
                      floors are passed so close that the V-bit's ridges stay under G / 2
Typography (every form; closed, svg and gcode place the text as lines does, then fit, weld
and offset it):
  --spacing MODE      classic (default): each character after the rightmost point of the
                      one before, stretched by SPACE %; font: the font's own advances,
                      kerning and shaping (HarfBuzz; any script, either direction), SPACE
                      then being tracking in hundredths of the em (default 0)
  --ligatures         optional ligatures (liga, clig, dlig) in font spacing; the ligatures
                      a script requires always apply
  --align SIDE        left (default), center or right: each line against the widest
  --pitch auto        each line's baseline below the previous by the largest line height
                      of its fonts (a number keeps the classic meaning)
Sign layout (every form, the lines and polylines forms included; applied in this order):
  --stretch-x F       condense (below 1) or expand the text along its lines
  --slant DEG         lean the letters right (negative: left)
  --arc-radius R      set the text on a circle about the origin, R the first baseline's
                      radius; later lines on concentric circles, the pitch apart
  --arc-side SIDE     top (default, read from outside) or bottom (left to right along the
                      lower half, the letters' feet outward, as on a coin)
  --arc-align ALIGN   center (default), left or right: which point of each line sits at
  --arc-angle DEG     the anchor's direction from the centre, clockwise from straight up
                      (default: up on top, down at the bottom)
  --arc-mode MODE     rigid (default): letters kept whole, turned to the tangent at the
                      middle of their advance; warp: every point bent, X along the arc, Y
                      along the radius. A line longer than its circle is refused with the
                      radius it needs, and nothing is written
  --path DATA         set the text along SVG path data (M L H V C S Q T A Z, absolute or
                      relative; Y down as in SVG, one user unit a drawing unit; its first
                      subpath): the first line along it, later lines the pitch to its right;
                      letters turn smoothly with it round its curves, and at a corner each
                      keeps the direction of its own side
  --path-file FILE    ... along the first <path> of an SVG file (at most 16 MB), or the one
  --path-id ID        whose id is ID
  --path-align ALIGN  left (default), center or right: which point of each line sits at
  --path-offset L     this arc length along the path (default its start, middle or end).
                      --arc-mode applies as on a circle. Text running off the path is
                      refused with how much longer the path must be, and nothing is written
  --rotate DEG        turn counter-clockwise about the anchor: the origin (the first
                      line's baseline start; the circle's centre)
  --mirror x|y        x: left and right swap (glass, acrylic cut from the back); y: up/down
  --fit-box WxH       scale uniformly to the largest size that fits the box from the origin
                      to (W, H) less --margin M on every side (--fit-width/--fit-height are
                      separate and cannot be combined with it)
  --anchor WHERE      center (default), top-left, top, top-right, left, right,
                      bottom-left, bottom, bottom-right: where the text sits in the box
  --stretch           fill the box both ways instead
  --frame SHAPE       rect, rounded:R, ellipse or outline:OFFSET (the letters welded and
                      grown by OFFSET) at --frame-margin M around the text or the fit box;
                      around text on a circle the ellipse is a circle about its centre.
                      The frame is cut last, after everything inside it
  --holes N,DIA       2 (left and right) or 4 (corners) mounting holes of diameter DIA,
                      --hole-inset (default DIA) in from the frame's edge, cut before it

Production runs (any form; with --text or one INPUT): the text is a template of items.
  {n}                 the item's serial number; {n:04} four digits with leading zeros, {n:5}
                      five wide with blanks, {n:x} or {n:X} hexadecimal ({n:04X}); {{ and }}
                      are a brace itself. A placeholder's characters take the font of its
                      opening brace (in RTF: bold brace, bold name)
  {column}            the column of that name in the merge file's header row
                      An item's lines are spaced as --pitch auto spaces them unless --pitch
                      is given
  --copies C          C items (default 1), numbered from --serial-start (default 1) by
  --serial-start N    --serial-step (default 1)
  --serial-step K
  --merge FILE.csv    one item per row: comma-separated values as spreadsheets save them
                      (quoted fields holding commas, quotes written "" and line breaks;
                      CR LF or LF; UTF-8 with or without byte-order mark; at most 64 MB);
                      a row of another width than the header is refused, naming its line
                      A placeholder no column fills, a bad format or a bad merge file stops
                      the run before anything is written. --dump-text shows the first item.
  -o NAME             without --sheet one file per item: placeholders in NAME name them
                      (-o badge-{name}.svg; "/", "\" and control characters in a value become
                      "_", a leading dot too, a value is cut at 50 characters); without
                      placeholders the files are numbered (tag.nc -> tag-1.nc, tag-2.nc, ...).
                      Two items to one name are refused. --report lists what went where; a
                      failure midway names the files already written
  --sheet WxH         lay the items out on sheets W wide and H high (drawing units; one
                      number: a square), from the top-left corner, row by row, each item by
                      its extent (after kerf) and as many as fit; more sheets go to numbered
                      files (-o tags.nc -> tags-1.nc, tags-2.nc, ...). An SVG's page is the
                      sheet, so it prints at its real size with each part where it is cut;
                      a DXF's extents stay those of its paths. Frames, holes and the rest
                      of the sign layout are set on each item before the sheet is laid out
  --gap G             least space between two items (default 0)
  --columns N         a grid of N columns of cells as large as the largest item
  --cell WxH          a grid of cells of this size (as many columns as fit, or --columns)
  --one-file          every sheet in one G-code program, with the tool raised and a pause
                      (M0) before each next sheet
Tabs (closed, svg and gcode): short stretches of each part's outline left uncut so that
cut-out letters stay in the sheet; a tab is a gap in the path, in G-code the tool rises to Z
up over it (a router) or the beam goes off (laser, plasma).
  --tabs N            N tabs on every outline
  --tab-spacing L     or one tab per L of outline (at least one)
  --tab-width W       material each tab leaves, default 1; the gap in the path is W plus
                      the kerf (--kerf), so the cut's two ends stand W apart
  --tab-height H      a router (G-code) crosses each tab at the cut depth plus H instead
                      of lifting out: H of material is left over the tab, and on the
                      passes of --depth-per-pass above that height the tab is cut as the
                      rest. H at or above the depth: a full tab, the tool lifts over it.
                      Not with --arcs; a laser, DXF and SVG keep the gap
  --tab-min-length M  outlines shorter than M get no tab
  --tabs-on-holes     holes get tabs too (by default their scrap falls out)
                      Tabs keep a tab width away from corners (a vertex turning by more
                      than 30 degrees) and from each other, as evenly spread as that allows;
                      an outline with no room for all is named on standard error
Stencils (closed, svg and gcode; text cut out of a sheet, with --kerf-side inside):
  --stencil W         join every island (the sheet inside an O, A, R, B ...) to the sheet by
                      a bridge W wide across the letter's stroke, where the crossing is
                      shortest: the letter's outline runs round each bridge. Made before the
                      inward kerf, so each bridge stays exactly W. An island no crossing
                      reaches is named on standard error
  --bridges N         bridges per island (default 1)
  --bridge-min-span S islands wider or higher than S get at least two
  --bridge-direction  vertical (default), horizontal or any: which way a bridge may run
Settings: Z up (travel height) and Z cutting (cutting depth) and the default layer come
from the settings file Reg.ini (section [Layer], keys Layer, Zup and Zdown, defaults 0,
1.00 and 0.00), which the window writes when it saves a DXF; kerfline-convert only reads
it. A stored Z that is no number (nan, a typo) is not used: the default is, and standard
error and --report say so; so is a Z outside -1000 to 1000, except in the lines and
polylines forms, which write any number as stored. The file is, in this order: the one
named by --settings, or by the environment variable KERFLINE_SETTINGS; Reg.ini beside
this program when it is there or that folder is writable (a portable copy); otherwise
$XDG_CONFIG_HOME/kerfline/Reg.ini, by default ~/.config/kerfline/Reg.ini. --report names
the file read.

Output safety: a file this run reads (the input, or the settings file) is never the
output, also through a link; such a run writes nothing and fails. A symbolic link in a
sticky folder anyone may write to (/tmp) is written through only when it belongs to you
or to the folder's owner. Interrupted (INT, TERM, HUP), a run removes its temporary file
and leaves an existing output as it was.

Limits: a value outside is refused (exit status 2, naming the option and the value); the
window's fields and the settings file take the same ranges. They are what a machine can
mean, in either unit:
%LIMITS%

A font file or glyph that cannot be loaded (a file cut short, a composite that contains
itself) is named on standard error and in --report, and its characters are treated as
ones the font lacks; when nothing at all can then be drawn the job fails and the old
file stays.

Exit status: 0 written, 1 an input missing or unreadable, a file could not be written or
nothing could be drawn because fonts could not be loaded,
2 usage error (no INPUT, a MODE other than 1 or 2, a bad option or value, a --settings
file that cannot be read: nothing written).

Examples:
  kerfline-convert sign.rtf                      sign.DXF, Lines + Z moves, defaults
  kerfline-convert sign.txt 200 -4 8 0 CUT 1     twice the size, lines 4 apart, finer
                                                 curves, no extra spacing, layer CUT,
                                                 PolyLines
  kerfline-convert plate.txt 100 -3.5            lines 3.5 apart
  kerfline-convert --z-cut -1.5 -o plate.dxf plate.txt
                                                 cut 1.5 deep, into plate.dxf
  kerfline-convert --text "OPEN" --font "DejaVu Sans" --size 20 --bold -o - > open.dxf
  kerfline-convert -f polylines a.txt b.txt c.rtf
                                                 a.DXF, b.DXF, c.DXF
  kerfline-convert --dump-text letter.rtf        what was read, as JSON
  kerfline-convert --text "{name}
  {role}" --merge team.csv --font "DejaVu Sans" --size 24 --pitch auto --sheet 300x200
  --gap 5 -f svg -o badges.svg                   name badges on sheets: badges-1.svg, ...
  kerfline-convert --text "No. {n:04}" --copies 100 --kerf 0.2 --tabs 2 --tab-width 0.5
  -f gcode -o tag-{n:04}.nc                      100 numbered tags, each held by 2 tabs
  kerfline-convert --text "KERFLINE WORKSHOP" --font "DejaVu Sans" --size 36 --spacing font
      --arc-radius 60 --frame ellipse --frame-margin 8 --holes 2,4 -f svg -o badge.svg
                                                 a round badge with two screw holes
)";

// The usage text with the option table's limits in their place.
std::string usageText() {
  std::string text = kUsage;
  const std::string mark = "%LIMITS%\n";
  text.replace(text.find(mark), mark.size(), optionLimitsHelp());
  return text;
}

bool fileExists(const std::string& path) {
  struct stat st {};
  return ::stat(path.c_str(), &st) == 0 && !S_ISDIR(st.st_mode);
}

// The mode argument as typed: the seventh argument that is not empty.
std::string seventhArgument(const std::vector<std::string>& args) {
  std::size_t seen = 0;
  for (const std::string& a : args) {
    if (!a.empty() && ++seen == 7) return a;
  }
  return {};
}

int runPositional(std::vector<std::string> args) {
  bool report = false;
  if (!args.empty() && (args[0] == "--help" || args[0] == "-h")) {
    std::cout << usageText();
    return kExitOk;
  }
  if (!args.empty() && args[0] == "--report") {
    report = true;
    args.erase(args.begin());
  }
  BatchArguments batch = parseBatchArguments(args);
  if (batch.inputFile.empty()) {
    std::cerr << usageText();
    return kExitUsage;
  }
  // A usage error is told as such whatever the input: nothing is read before it is settled.
  if (batch.mode == BatchMode::None) {
    std::cerr << "Nothing written: MODE (argument 7) must be 1 (PolyLines XY only) or 2 "
                 "(Lines + Z moves), not \""
              << seventhArgument(args) << "\".\n";
    return kExitUsage;
  }
  if (!fileExists(batch.inputFile)) {
    std::cerr << "Passed File Not Found \n";
    // Any argument may be a file name, so a mistyped option ends up here.
    if (batch.inputFile.starts_with("-")) {
      std::cerr << "No file \"" << batch.inputFile
                << "\"; the options are listed by kerfline-convert --help.\n";
    }
    return kExitFailed;
  }

  // The same starting values as the window: its control defaults and the stored settings.
  const std::string iniPath = findSettingsFile(programFolder()).path;
  LayerSettings stored = Loadini(iniPath);
  ExportSettings settings;
  settings.layerText = stored.layer;
  settings.zMoveText = stored.zUp;
  settings.zLevelText = stored.zDown;
  if (batch.scale) settings.scale = *batch.scale;
  if (batch.pitchText) settings.pitchText = *batch.pitchText;
  if (batch.resolution) settings.resolution = *batch.resolution;
  if (batch.spacePercent) settings.spacePercent = *batch.spacePercent;
  if (batch.layer) settings.layerText = *batch.layer;

  StyledText document = loadDocument(batch.inputFile, defaultEditorFormat());
  const std::string output = batchOutputName(batch.inputFile);
  // The name rule never gives the input's own name, but a link of that name may lead to it.
  refuseToReplace(output, batch.inputFile, "input file");
  TTTFToVectorConverter converter;
  if (batch.mode == BatchMode::PolyLines) {
    SavePoly2(output, document, settings, converter);
  } else {
    FileSave(output, document, settings, converter);
  }
  if (report) {
    const OutputFormat format =
        batch.mode == BatchMode::PolyLines ? OutputFormat::PolyLines : OutputFormat::Lines;
    printConversionReport(std::cout,
                          ReportFacts{output, output, format, settings, iniPath, document.length(),
                                      DrawingUnits::Millimetre, std::nullopt, {}});
  }
  return kExitOk;
}

int runNamed(const std::vector<std::string>& args) {
  ConvertCommand command;
  try {
    command = parseConvertCommand(args);
  } catch (const UsageError& e) {
    std::cerr << "kerfline-convert: " << e.what() << '\n';
    return kExitUsage;
  }
  switch (command.action) {
    case ConvertAction::Help:
      std::cout << usageText();
      return kExitOk;
    case ConvertAction::Version:
      std::cout << "kerfline-convert " << programVersion() << '\n';
      return kExitOk;
    default:
      return runNamedConversion(command, programFolder(), std::cout, std::cerr);
  }
}

int run(const std::vector<std::string>& args) {
  return isNamedCommandLine(args) ? runNamed(args) : runPositional(args);
}

}  // namespace

int main(int argc, char** argv) {
  useLargeHeap();
  // An interrupted run of a drawing of hundreds of megabytes must not leave its temporary.
  removeTemporariesOnSignal();
  try {
    const int status = run(std::vector<std::string>(argv + 1, argv + argc));
    // The help, report or drawing was asked for on standard output: when it could not be
    // written (to a full disk, say), the run did not do what was asked.
    if (!std::cout.flush()) {
      if (status == kExitOk) std::cerr << "Cannot write to standard output\n";  // else told
      return kExitFailed;
    }
    return status;
  } catch (const std::exception& e) {
    std::cerr << e.what() << '\n';
    return kExitFailed;
  }
}
