#!/usr/bin/env python3
"""Which test reaches which lines of src/ alone.

Runs every function of every QtTest executable of a coverage build (scripts/coverage.sh makes
one in build-coverage/) on its own, each writing its counters under a folder of its own
(GCOV_PREFIX), and the other tests of the suite (the file managers, the install) as wholes.
Then it reads the counters with gcov and prints, per test function, its non-blank lines, how
many lines and taken branches of src/ it reaches, and those that nothing else in the suite
reaches. A function that reaches nothing of its own adds no coverage: whether it earns its
lines depends on what it asserts that no other test does.

    scripts/coverage-map.py [build-coverage [test name pattern]] > coverage-map.txt

With a pattern (a regular expression), only the matching tests run: "only here" is then only
among them.

A function that relies on an earlier one of its file shows less than it reaches in a full run."""
import collections, concurrent.futures, glob, json, os, pathlib, re, subprocess, sys, tempfile

root = pathlib.Path(__file__).resolve().parent.parent
build = pathlib.Path(sys.argv[1] if len(sys.argv) > 1 else root / "build-coverage").resolve()
runs = pathlib.Path(tempfile.mkdtemp(prefix="vanisto-coverage-map-"))
pattern = re.compile(sys.argv[2] if len(sys.argv) > 2 else "")
tests = json.loads(subprocess.check_output(["ctest", "--show-only=json-v1"], cwd=build))["tests"]
tests = [t for t in tests if pattern.search(t["name"])]


def unit(test):
    """A test's command, environment and folder as ctest would run it."""
    props = {p["name"]: p["value"] for p in test.get("properties", [])}
    env = dict(os.environ, **dict(kv.split("=", 1) for kv in props.get("ENVIRONMENT", [])))
    return test["command"], env, props.get("WORKING_DIRECTORY", str(build))


def run(job):
    name, command, env, folder = job
    env = dict(env, GCOV_PREFIX=str(runs / name), GCOV_PREFIX_STRIP="0")
    subprocess.run(command, env=env, cwd=folder, capture_output=True, timeout=900)


# The scripts (file managers, install) run one after another, as ctest runs them; the test
# functions two or more at a time.
wholes, functions = [], []
for test in tests:
    command, env, folder = unit(test)
    if not test["name"].startswith("tst_"):
        wholes.append((test["name"], command, env, folder))
        continue
    listed = subprocess.check_output(command + ["-functions"], env=env, cwd=folder, text=True)
    for function in (f.removesuffix("()") for f in listed.split()):
        functions.append((f"{test['name']}/{function}", command + [function], env, folder))
for job in wholes:
    run(job)
with concurrent.futures.ThreadPoolExecutor(os.cpu_count()) as pool:
    list(pool.map(run, functions))
jobs = wholes + functions


def reached(name):
    """(file, line) for each line run and (file, line, n) for each branch taken, in src/."""
    counters = glob.glob(f"{runs / name}/**/*.gcda", recursive=True)
    for counter in counters:  # gcov wants the notes beside the counters
        notes = counter[: -len(".gcda")] + ".gcno"
        if not os.path.exists(notes):
            os.symlink(counter[len(str(runs / name)) : -len(".gcda")] + ".gcno", notes)
    found = set()
    for folder in {os.path.dirname(c) for c in counters}:
        here = [c for c in counters if os.path.dirname(c) == folder]
        out = subprocess.run(["gcov", "--json-format", "--stdout", "-o", folder] + here, cwd=folder,
                             capture_output=True, text=True).stdout
        for report in (json.loads(l) for l in out.splitlines() if l.startswith("{")):
            for f in report["files"]:
                path = os.path.normpath(os.path.join(report["current_working_directory"], f["file"]))
                if not path.startswith(f"{root}/src/") or "_autogen" in path:
                    continue
                path = os.path.relpath(path, root)
                for line in f["lines"]:
                    if line["count"]:
                        found.add((path, line["line_number"]))
                    found.update((path, line["line_number"], n) for n, b in enumerate(line["branches"])
                                 if b["count"] and not b["throw"])
    return found


with concurrent.futures.ProcessPoolExecutor(os.cpu_count()) as pool:
    names = [job[0] for job in jobs]
    reach = dict(zip(names, pool.map(reached, names)))
subprocess.run(["rm", "-rf", str(runs)])

sizes = collections.Counter()  # non-blank lines of each test function, its _data() included
for source in root.glob("tests/**/tst_*.cpp"):
    lines, start = source.read_text().split("\n"), None
    heads = [(i, m[1].removesuffix("_data")) for i, l in enumerate(lines) if (m := re.match(r"    void (\w+)\(\)", l))]
    for (i, function), end in zip(heads, [h[0] for h in heads[1:]] + [len(lines)]):
        sizes[f"{source.stem}/{function}"] += sum(1 for l in lines[i:end] if l.strip())

times = collections.Counter(x for found in reach.values() for x in found)
for name in names:
    own = sorted(x for x in reach[name] if times[x] == 1)
    print(f"{name:<80}{sizes[name]:>5} lines{len(reach[name]):>7} reached{len(own):>5} only here")
    for x in own:
        print("    " + ":".join(map(str, x)))
