#!/usr/bin/env python3
"""Converts an integer program in MPS form into the IP model language (.tip).

    scripts/mps2tip.py MODEL.mps[.gz] [-o OUT.tip]
    scripts/mps2tip.py --miplib DIR --catalogue FILE --out DIR

The IP reader knows variables between 0 and no bound (or 1 for $BINARY),
constraints with "<=", ">=" and "=", and no objective constant. The bounds of
the MPS model are rewritten to fit:
- a fixed variable (FX, or equal lower and upper bound) is substituted;
- a finite lower bound l shifts the variable (x = l + x');
- a variable with only an upper bound u is mirrored (x = u - x');
- a free variable is split (x = x+ - x-);
- an integer variable with bounds 0..1 becomes $BINARY; any other finite
  upper bound becomes a constraint of its own;
- a range (RANGES) gives the row a second constraint.
Substitutions and shifts leave a constant in the objective: the converted
model's optimum is the MPS model's optimum less that constant (printed in the
header comment and in optima.tsv).

Numbers are computed in decimal arithmetic from the MPS texts and written
without exponent. Names keep their letters and digits (a name that does not
begin with a letter gets an X in front); names that would then clash get a
number behind.

With --miplib every MPS file of DIR is converted into --out, which also gets
optima.tsv (name, constraints, variables, integers, nonzeros, objective
constant, the catalogue's optimum, the optimum of the .tip model). A model
beyond the reader's limits (500 variables, 500 constraints, 999 nonzeros) is
reported and left out.
"""
import argparse
import gzip
import os
import re
import sys
from decimal import Decimal, getcontext

getcontext().prec = 50

MAX_VARIABLES = 500
MAX_CONSTRAINTS = 500
MAX_NONZEROS = 999
INF = Decimal("1e30")  # MPS "infinity" and beyond count as no bound


class MPSModel:
    def __init__(self):
        self.name = ""
        self.objective = None
        self.rows = []  # (name, sense) in file order, sense in "LGE"
        self.row_sense = {}
        self.columns = []  # names in file order
        self.integer = {}
        self.entries = {}  # column -> list of (row, Decimal)
        self.rhs = {}
        self.ranges = {}
        self.lower = {}
        self.upper = {}


def read_mps(path):
    opener = gzip.open if path.endswith(".gz") else open
    model = MPSModel()
    section = None
    in_integer = False
    with opener(path, "rt") as f:
        for raw in f:
            line = raw.rstrip("\n\r")
            if not line.strip() or line.startswith("*"):
                continue
            if not line[0].isspace():
                words = line.split()
                section = words[0].upper()
                if section == "NAME" and len(words) > 1:
                    model.name = words[1]
                if section == "OBJSENSE" and len(words) > 1 and words[1].upper().startswith("MAX"):
                    raise ValueError("OBJSENSE MAX is not handled")
                continue
            words = line.split()
            if section == "ROWS":
                sense, name = words[0].upper(), words[1]
                if sense == "N":
                    if model.objective is None:
                        model.objective = name
                    continue  # further free rows are dropped
                model.rows.append(name)
                model.row_sense[name] = sense
            elif section == "COLUMNS":
                if len(words) >= 3 and words[1].strip("'").upper() == "MARKER":
                    kind = words[2].strip("'").upper()
                    in_integer = kind == "INTORG"
                    continue
                col = words[0]
                if col not in model.entries:
                    model.columns.append(col)
                    model.entries[col] = []
                    model.integer[col] = in_integer
                for k in range(1, len(words) - 1, 2):
                    model.entries[col].append((words[k], Decimal(words[k + 1])))
            elif section == "RHS":
                pairs = words[1:] if len(words) % 2 == 1 else words
                for k in range(0, len(pairs) - 1, 2):
                    model.rhs[pairs[k]] = Decimal(pairs[k + 1])
            elif section == "RANGES":
                pairs = words[1:] if len(words) % 2 == 1 else words
                for k in range(0, len(pairs) - 1, 2):
                    model.ranges[pairs[k]] = Decimal(pairs[k + 1])
            elif section == "BOUNDS":
                kind = words[0].upper()
                if kind in ("FR", "MI", "PL", "BV"):
                    col = words[2] if len(words) >= 3 else words[1]
                    value = None
                else:
                    col, value = (words[2], Decimal(words[3])) if len(words) >= 4 else (words[1], Decimal(words[2]))
                if kind == "UP":
                    model.upper[col] = value
                    if value < 0 and col not in model.lower:
                        model.lower[col] = -INF
                elif kind == "LO":
                    model.lower[col] = value
                elif kind == "FX":
                    model.lower[col] = model.upper[col] = value
                elif kind == "FR":
                    model.lower[col], model.upper[col] = -INF, INF
                elif kind == "MI":
                    model.lower[col] = -INF
                elif kind == "PL":
                    model.upper[col] = INF
                elif kind == "BV":
                    model.lower[col], model.upper[col] = Decimal(0), Decimal(1)
                    model.integer[col] = True
                elif kind == "LI":
                    model.lower[col] = value
                    model.integer[col] = True
                elif kind == "UI":
                    model.upper[col] = value
                    model.integer[col] = True
                else:
                    raise ValueError("bound type %s is not handled" % kind)
            elif section == "ENDATA":
                break
    return model


def number(d):
    """A decimal as the reader takes it: no exponent, no trailing zeros."""
    if d == 0:
        return "0"
    text = format(d.normalize(), "f")
    if "." in text:
        text = text.rstrip("0").rstrip(".")
    return text


class Converted:
    def __init__(self):
        self.variables = []  # output names in order of creation
        self.integer = set()
        self.binary = set()
        self.cost = {}
        self.rows = []  # (label, {var: coef}, sense text, rhs)
        self.offset = Decimal(0)
        self.notes = []


def unique_name(raw, taken):
    base = re.sub(r"[^A-Za-z0-9]", "", raw)
    if not base or not base[0].isalpha():
        base = "X" + base
    base = base[:70]
    name, k = base, 1
    while name.upper() in taken:
        k += 1
        name = "%s%d" % (base, k)
    taken.add(name.upper())
    return name


def convert(model):
    out = Converted()
    taken = set()
    # How each MPS column is written: a constant plus (variable, factor) terms.
    substitute = {}
    upper_rows = []
    for col in model.columns:
        lo = model.lower.get(col, Decimal(0))
        up = model.upper.get(col, INF)
        is_int = model.integer[col]
        if lo > -INF and up < INF and lo == up:
            substitute[col] = (lo, [])
            continue
        if lo > -INF:
            name = unique_name(col, taken)
            substitute[col] = (lo, [(name, Decimal(1))])
            parts = [(name, up - lo if up < INF else None)]
        elif up < INF:
            name = unique_name(col, taken)
            substitute[col] = (up, [(name, Decimal(-1))])
            parts = [(name, None)]
        else:
            plus, minus = unique_name(col + "P", taken), unique_name(col + "M", taken)
            substitute[col] = (Decimal(0), [(plus, Decimal(1)), (minus, Decimal(-1))])
            parts = [(plus, None), (minus, None)]
        for name, bound in parts:
            out.variables.append(name)
            if is_int:
                out.integer.add(name)
            if bound is None:
                continue
            if is_int and bound == 1:
                out.binary.add(name)
            else:
                upper_rows.append((name, bound))

    row_terms = {r: {} for r in model.rows}
    row_shift = {r: Decimal(0) for r in model.rows}
    for col in model.columns:
        const, terms = substitute[col]
        for row, a in model.entries[col]:
            if row == model.objective:
                out.offset += a * const
                for name, factor in terms:
                    out.cost[name] = out.cost.get(name, Decimal(0)) + a * factor
                continue
            if row not in row_terms:
                continue  # a free row other than the objective
            row_shift[row] += a * const
            for name, factor in terms:
                row_terms[row][name] = row_terms[row].get(name, Decimal(0)) + a * factor
    if model.objective in model.rhs:
        # MPS gives the objective's constant as minus its right-hand side.
        out.offset -= model.rhs[model.objective]

    for row in model.rows:
        terms = {v: a for v, a in row_terms[row].items() if a != 0}
        b = model.rhs.get(row, Decimal(0)) - row_shift[row]
        sense = model.row_sense[row]
        pieces = []
        if row in model.ranges:
            r = model.ranges[row]
            if sense == "E":
                pieces = [(">=", b), ("<=", b + r)] if r > 0 else [(">=", b + r), ("<=", b)]
            elif sense == "L":
                pieces = [(">=", b - abs(r)), ("<=", b)]
            else:
                pieces = [(">=", b), ("<=", b + abs(r))]
        else:
            pieces = [({"L": "<=", "G": ">=", "E": "="}[sense], b)]
        for relation, value in pieces:
            if not terms:
                holds = {"<=": 0 <= value, ">=": 0 >= value, "=": value == 0}[relation]
                if not holds:
                    raise ValueError("row %s cannot hold" % row)
                out.notes.append("row %s has no variable left and is dropped" % row)
                continue
            out.rows.append((row, terms, relation, value))
    for name, bound in upper_rows:
        out.rows.append((name + " bound", {name: Decimal(1)}, "<=", bound))
    # A continuous variable in no row and without cost plays no part (and the
    # reader could not create it).
    used = set(out.cost) | {v for _, t, _, _ in out.rows for v in t}
    for v in [v for v in out.variables if v not in used and v not in out.integer]:
        out.notes.append("variable %s appears nowhere and is dropped" % v)
        out.variables.remove(v)
    return out


def terms_text(pairs, first_plain=True):
    """Terms as the reader wants them: later terms begin with + or -."""
    words = []
    for k, (name, a) in enumerate(pairs):
        magnitude = "" if abs(a) == 1 else number(abs(a)) + " "
        if k == 0 and first_plain:
            words.append(("-" if a < 0 else "") + magnitude + name)
        else:
            words.append(("- " if a < 0 else "+ ") + magnitude + name)
    return words


def wrap(words, indent="  ", width=78):
    lines, line = [], ""
    for w in words:
        if line and len(line) + 1 + len(w) > width:
            lines.append(line)
            line = indent + w
        else:
            line = (line + " " + w) if line else w
    if line:
        lines.append(line)
    return lines


def write_tip(model, conv, header):
    lines = ["{ %s }" % line for line in header]
    order = {v: k for k, v in enumerate(conv.variables)}
    objective = [(v, conv.cost[v]) for v in conv.variables if conv.cost.get(v, 0) != 0]
    if not objective:
        objective = [(conv.variables[0], Decimal(0))]
    words = ["min"] + terms_text(objective)
    words[-1] += ";"
    lines += wrap(words)
    for _, terms, relation, value in conv.rows:
        pairs = sorted(terms.items(), key=lambda t: order[t[0]])
        words = terms_text(pairs) + [relation, number(value) + ";"]
        lines += wrap(words)
    for keyword, names in (("$integer", [v for v in conv.variables if v in conv.integer and v not in conv.binary]),
                           ("$binary", [v for v in conv.variables if v in conv.binary])):
        if names:
            words = [keyword] + [n + "," for n in names]
            words[-1] = words[-1][:-1] + ";"
            lines += wrap(words, indent="    ")
    return "\r\n".join(lines) + "\r\n"


def sizes(conv):
    nonzeros = sum(len(t) for _, t, _, _ in conv.rows)
    # A variable that appears nowhere is created by its declaration only if integer.
    return len(conv.rows), len(conv.variables), len(conv.integer), nonzeros


def catalogue(path):
    """The optimum of every model in the catalogue's statistics part."""
    optima = {}
    with open(path) as f:
        for line in f:
            words = line.split()
            if len(words) >= 8 and words[1].isdigit() and words[2].isdigit():
                optima[words[0]] = words[6]
    return optima


def main():
    parser = argparse.ArgumentParser(description=__doc__.split("\n")[0])
    parser.add_argument("mps", nargs="?")
    parser.add_argument("-o", "--output")
    parser.add_argument("--miplib", help="folder of MPS files to convert")
    parser.add_argument("--catalogue", help="the set's catalogue of optima")
    parser.add_argument("--out", help="folder for the converted models")
    args = parser.parse_args()

    if args.mps:
        model = read_mps(args.mps)
        conv = convert(model)
        rows, cols, ints, nz = sizes(conv)
        header = ["%s converted from %s: %d constraints, %d variables (%d integer), %d nonzeros" %
                  (model.name, os.path.basename(args.mps), rows, cols, ints, nz)]
        if conv.offset != 0:
            header.append("the MPS objective is this one plus %s" % number(conv.offset))
        text = write_tip(model, conv, header)
        if args.output:
            with open(args.output, "w", newline="") as f:
                f.write(text)
        else:
            sys.stdout.write(text)
        for note in conv.notes:
            print(note, file=sys.stderr)
        return 0

    if not (args.miplib and args.catalogue and args.out):
        parser.error("give an MPS file, or --miplib, --catalogue and --out")
    optima = catalogue(args.catalogue)
    os.makedirs(args.out, exist_ok=True)
    table = ["name\tconstraints\tvariables\tintegers\tnonzeros\tconstant\tcatalogue optimum\toptimum"]
    for file in sorted(os.listdir(args.miplib)):
        if not re.search(r"\.mps(\.gz)?$", file):
            continue
        path = os.path.join(args.miplib, file)
        stem = re.sub(r"\.mps(\.gz)?$", "", file)
        model = read_mps(path)
        conv = convert(model)
        rows, cols, ints, nz = sizes(conv)
        if rows > MAX_CONSTRAINTS or cols > MAX_VARIABLES or nz > MAX_NONZEROS:
            print("%s: %d constraints, %d variables, %d nonzeros: beyond the reader's limits" % (stem, rows, cols, nz))
            continue
        best = Decimal(optima[stem]) if stem in optima else None
        optimum = best - conv.offset if best is not None else None
        header = ["%s of the MIPLIB 3 set, converted from %s by scripts/mps2tip.py:" % (stem, file),
                  "%d constraints, %d variables (%d integer), %d nonzeros." % (rows, cols, ints, nz)]
        if best is not None:
            header.append("Optimum %s (the catalogue's %s%s)." %
                          (number(optimum), number(best),
                           "" if conv.offset == 0 else ", less the constant %s that the bounds leave" % number(conv.offset)))
        text = write_tip(model, conv, header)
        with open(os.path.join(args.out, stem + ".tip"), "w", newline="") as f:
            f.write(text)
        for note in conv.notes:
            print("%s: %s" % (stem, note))
        table.append("\t".join([stem, str(rows), str(cols), str(ints), str(nz), number(conv.offset),
                                number(best) if best is not None else "", number(optimum) if optimum is not None else ""]))
        print("%s: %d constraints, %d variables (%d integer), %d nonzeros, constant %s" %
              (stem, rows, cols, ints, nz, number(conv.offset)))
    with open(os.path.join(args.out, "optima.tsv"), "w") as f:
        f.write("\n".join(table) + "\n")
    return 0


if __name__ == "__main__":
    sys.exit(main())
