#!/usr/bin/env python3
"""Random LP and IP models near the readers' number limits, solved by
tarvik-solve and by glpsol (Debian's glpk-utils), optima compared.

    bench/lp/largenumbers.py build/bin/tarvik-solve [--count N] [--seed S] [--write-data DIR]

Every model uses numbers close to the limits the readers state (numbers up
to 1e8; LP bounds and a coefficient times its bound up to 1e9; IP bounds up
to 1e8, a coefficient times its bound up to 1e9, the objective up to 1e11). A
model the reader refuses is counted and skipped; every other one must reach
glpsol's verdict and optimum (relative difference at most 1e-9, for integer
models 1e-6, the gap within which branch and bound prunes); an integer search still open
after 20 s (tarvik-solve --time-limit, glpsol --tmlim) is counted and skipped. Prints each model that
differs and a summary; exits 1 when any differs.

With --write-data the accepted models and glpsol's optima go to DIR (the
ctest test LargeNumbers reads tests/data/largenumbers/ so that it needs no
glpsol).
"""
import argparse
import os
import random
import subprocess
import sys
import tempfile


def model(rng, integer):
    """A random model as (model text, CPLEX LP text)."""
    n = rng.randint(3, 12)
    m = rng.randint(2, 10)
    top = 1e8
    names = [f"x{j}" for j in range(1, n + 1)]
    maximise = rng.random() < 0.7
    cost = [rng.choice([rng.randint(1, 10), rng.randint(-10, 10), round(rng.uniform(0.5, 9.5), 4)])
            for _ in names]
    if not maximise:
        cost = [abs(c) + 1 for c in cost]  # a minimum that stays bounded below
    rows = []
    # A packing row over every variable bounds them all.
    rows.append(([(j, rng.randint(1, 10)) for j in range(n)], "<=", rng.randint(int(top / 2), int(top))))
    for _ in range(m - 1):
        # Integer equations make searches that no depth-first search ends soon.
        kind = rng.choice(["<=", "<=", ">="] if integer else ["<=", "<=", ">=", "="])
        terms = [(j, rng.randint(1, 10)) for j in rng.sample(range(n), rng.randint(1, n))]
        if kind == "<=":
            rhs = rng.randint(int(top / 10), int(top))
        elif kind == ">=":
            rhs = rng.randint(1, int(top / 100))
        else:
            rhs = rng.randint(int(top / 1000), int(top / 100))
        rows.append((terms, kind, rhs))
    ints = sorted(rng.sample(range(n), rng.randint(1, n))) if integer else []

    def side(terms):
        return " + ".join(f"{a} {names[j]}" for j, a in terms)

    def objective():
        return " ".join(("+ " if c >= 0 else "- ") + f"{abs(c)} {names[j]}" for j, c in enumerate(cost))

    text = ("max " if maximise else "min ") + objective().lstrip("+ ") + ";\n"
    for terms, kind, rhs in rows:
        text += side(terms).replace(" x", "x") + f" {kind} {rhs};\n"
    if ints:
        text += "$integer " + ", ".join(names[j] for j in ints) + ";\n"
    lp = ("Maximize\n" if maximise else "Minimize\n") + " obj: " + objective() + "\nSubject To\n"
    for i, (terms, kind, rhs) in enumerate(rows, 1):
        lp += f" c{i}: " + side(terms) + f" {kind} {rhs}\n"
    if ints:
        lp += "Generals\n " + " ".join(names[j] for j in ints) + "\n"
    return text, lp + "End\n"


def glpsol(lp_text, folder):
    """glpsol's verdict: ('optimal', value), ('infeasible', None) or ('unbounded', None)."""
    lp = os.path.join(folder, "m.lp")
    out = os.path.join(folder, "m.w")
    with open(lp, "w") as f:
        f.write(lp_text)
    run = subprocess.run(["glpsol", "--tmlim", "20", "--lp", lp, "-w", out], capture_output=True, text=True)
    log = run.stdout
    if "TIME LIMIT EXCEEDED" in log:
        return "stopped", None
    if "NO PRIMAL FEASIBLE SOLUTION" in log or "NO INTEGER FEASIBLE SOLUTION" in log:
        return "infeasible", None
    if "UNBOUNDED" in log:
        return "unbounded", None
    with open(out) as f:
        for line in f:
            word = line.split()
            # "s bas M N PRIMAL DUAL OBJ" or "s mip M N STATUS OBJ"
            if word[:2] == ["s", "bas"] and word[4:6] == ["f", "f"] or word[:2] == ["s", "mip"] and word[4] == "o":
                return "optimal", float(word[-1])
    raise RuntimeError("glpsol found no optimum:\n" + log)


def tarvik(solver, text, folder, integer):
    path = os.path.join(folder, "m.tip" if integer else "m.tlp")
    with open(path, "w") as f:
        f.write(text)
    run = subprocess.run([solver, "--brief", "--time-limit", "20", path], capture_output=True, text=True)
    if run.returncode == 2:
        return "refused", run.stderr.strip()
    fields = run.stdout.strip().split("\t")
    status = fields[1] if len(fields) > 1 else run.stdout
    if status == "Optimal solution found":
        return "optimal", float(fields[2])
    if status in ("Infeasible", "There is no feasible solution.", "There is no feasible integer solution."):
        return "infeasible", None
    if status in ("Unbounded.", "LP is unbounded"):
        return "unbounded", None
    if run.returncode == 3:
        return "stopped", None
    return status, None


def main():
    ap = argparse.ArgumentParser()
    ap.add_argument("solver")
    ap.add_argument("--count", type=int, default=200)
    ap.add_argument("--seed", type=int, default=29)
    ap.add_argument("--write-data")
    args = ap.parse_args()
    rng = random.Random(args.seed)
    counts = {"same": 0, "differ": 0, "refused": 0, "stopped": 0}
    rows = []
    with tempfile.TemporaryDirectory() as folder:
        for k in range(args.count):
            integer = k % 2 == 1
            text, lp = model(rng, integer)
            mine = tarvik(args.solver, text, folder, integer)
            if mine[0] in ("refused", "stopped"):
                counts[mine[0]] += 1
                continue
            theirs = glpsol(lp, folder)
            if theirs[0] == "stopped":
                counts["stopped"] += 1
                continue
            # Branch and bound prunes what cannot beat the incumbent by more
            # than 1e-6 of it (glpsol by 1e-7): integer optima agree to 1e-6.
            tolerance = 1e-6 if integer else 1e-9
            same = mine[0] == theirs[0] and (
                mine[0] != "optimal" or abs(mine[1] - theirs[1]) <= tolerance * max(1.0, abs(theirs[1])))
            counts["same" if same else "differ"] += 1
            if not same:
                print(f"model {k} ({'IP' if integer else 'LP'}): tarvik {mine}, glpsol {theirs}\n{text}")
            name = f"m{k:03d}.{'tip' if integer else 'tlp'}"
            rows.append((name, text, theirs))
    print(f"{counts['same']} same, {counts['differ']} differ, {counts['refused']} refused by the reader, "
          f"{counts['stopped']} stopped at the time limit of 20 s (tarvik-solve or glpsol)")
    if args.write_data:
        os.makedirs(args.write_data, exist_ok=True)
        with open(os.path.join(args.write_data, "optima.tsv"), "w") as tsv:
            tsv.write("# model\tverdict\toptimum (glpsol 5.0)\n")
            for name, text, (verdict, value) in rows:
                with open(os.path.join(args.write_data, name), "w") as f:
                    f.write(text)
                tsv.write(f"{name}\t{verdict}\t{'' if value is None else repr(value)}\n")
    return 1 if counts["differ"] else 0


if __name__ == "__main__":
    sys.exit(main())
