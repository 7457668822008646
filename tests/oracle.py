#!/usr/bin/python3
"""What each program prints, worked out apart from its C++ code: numbers read
as glibc's scanf reads them, each operation correctly rounded by GNU MPFR in
IEEE 754 single or double precision, printed as printf's %f. A case row in
cases/ holds "output", what correctly rounded sines give, and where glibc's
x86-64 sine for CPUs with (or without) FMA is an ulp off, "fma" ("no_fma").

  tests/oracle.py PROGRAM INPUT WHY    prints a new row"""
import argparse, csv, json, math, pathlib, re, subprocess, sys, sysconfig
from fractions import Fraction
from functools import partial
from operator import add, mul, pos, sub, truediv
from typing import Callable, NamedTuple

import gmpy2
from hypothesis import strategies as st

SINGLE, DOUBLE = gmpy2.ieee(32), gmpy2.ieee(64)  # with subnormals
# A context for one operation: gmpy2 2.1's context.div rounds in the global one, and 2.2 deprecates local_context.
within = gmpy2.local_context if tuple(map(int, gmpy2.version().split(".")[:2])) < (2, 2) else gmpy2.context
PI_6 = gmpy2.mpfr("0x1.0c152382d7365p-1", 53, 16)  # the double 0.5235987755982988

# What IEEE 754 leaves to the CPU, and MPFR does not model: the sign of the
# NaN an invalid operation makes, whether an operation on a NaN passes its
# sign on, and whether narrowing a double to single precision does; each
# architecture's in targets.tsv. A NaN is a Python float here, for its sign.
ROOT = pathlib.Path(__file__).parent.parent
TABLE = (ROOT / "targets.tsv").read_text(encoding="utf-8").splitlines()
TARGETS = {t["arch"]: t for t in csv.DictReader((line for line in TABLE if line[:1] != "#"), delimiter="\t")}
ROWS_TARGET = TARGETS.get("amd64", {"arch": "amd64"})  # whose NaNs a row's "output" holds


def target(name=None):
    """The row of targets.tsv of a Debian architecture, triple or tuple (this machine's), or a name alone."""
    name = name or sysconfig.get_config_var("MULTIARCH")
    return next((t for t in TARGETS.values() if name in (t["arch"], t["triple"], t["multiarch"])), {"arch": name})


class Unmodelled(Exception):
    pass


class Unknown(Unmodelled):
    """What the outcome rests on, targets.tsv does not say for this target."""


def fact(target, column):
    if column not in target:
        raise Unknown(f"{target['arch']} is not in targets.tsv, whose column {column!r} this rests on")
    return target[column]


def op(target, ctx, f, *args, ulps=0):
    """f correctly rounded in ctx, with target's NaNs; ulps moves it, as a libm one ulp off."""
    def invalid():
        infinite = [math.copysign(1, float(a)) for a in args if f is mul and math.isinf(float(a))]
        sign = {"inf": (infinite or [1])[0], "-nan": -1}.get(fact(target, "invalid"), 1)
        return math.copysign(math.nan, sign)
    found = [v for v in args if isinstance(v, float)]
    if found:
        passes = fact(target, "passes") == "yes"
        # Which NaN wins depends on operand order the compiler may swap.
        if len({math.copysign(1, v) for v in found}) > 1 and passes:
            raise Unmodelled("two NaNs of different signs meet")
        narrowing = f is pos and ctx is SINGLE  # pos only ever narrows a double
        return found[0] if passes and (not narrowing or fact(target, "narrows") == "yes") else invalid()
    with within(ctx):
        r = f(*args)
        r = gmpy2.next_above(r) if ulps > 0 else gmpy2.next_below(r) if ulps < 0 else r
    return invalid() if gmpy2.is_nan(r) else r


# White space as the C locale's isspace has it, then a number.
FLOAT = re.compile(rb"""\s*(?P<number>[+-]?(?:
    (?P<hex>0[xX](?:[0-9a-fA-F]+\.?[0-9a-fA-F]*|\.[0-9a-fA-F]+)(?:[pP][+-]?[0-9]+)?)
  | (?P<dec>(?:[0-9]+\.?[0-9]*|\.[0-9]+)(?:[eE][+-]?[0-9]+)?)
  | (?P<inf>[iI][nN][fF](?:[iI][nN][iI][tT][yY])?) | (?P<nan>[nN][aA][nN])))""", re.X)
INTEGER = re.compile(rb"\s*(?P<number>[+-]?[0-9]+)")


def scan(data, count, integer):
    """The numbers scanf("%f %f ...") or scanf("%lld") converts; the rest stay 0."""
    values, end = [], 0
    while len(values) < count:
        m = (INTEGER if integer else FLOAT).match(data, end)
        if not m:
            break  # a failed conversion ends the reading
        end = m.end()
        if integer:
            n = max(min(int(m["number"]), 2**63 - 1), -2**63)  # a long long, clamped,
            values.append((n + 2**31) % 2**32 - 2**31)  # then cut to 32 bits
            continue
        # Where scanf would read on past the longest number, its one character
        # of push-back leaves the outcome to glibc's own choices.
        after = data[end:end + 1]
        if after and (m["dec"] and after in b"eExX" or m["hex"] and after in b"pP"
                      or m["inf"] and len(m["inf"]) == 3 and after in b"iI" or m["nan"] and after == b"("):
            raise Unmodelled(f"scanf's reading of {data[m.start(1):end + 16]!r} is not modelled")
        exponent = re.search(rb"[eEpP][+-]?([0-9]+)$", m["number"])
        if exponent and int(exponent[1]) > 10**6:
            raise Unmodelled("an exponent too large to work out quickly")
        if m["inf"] or m["nan"]:
            v = gmpy2.inf() if m["inf"] else math.nan
        else:
            with within(SINGLE):
                v = gmpy2.mpfr((m["hex"] or m["dec"]).decode().lower(), 0, 0)
        values.append(-v if m["number"][:1] == b"-" else v)  # MPFR reads no sign of zero
    return values + [0 if integer else gmpy2.mpfr(0)] * (count - len(values))


def fmt(v):
    """printf's %f."""
    if isinstance(v, float) or gmpy2.is_infinite(v):
        return ("-" if math.copysign(1, float(v)) < 0 else "") + ("nan" if math.isnan(v) else "inf")
    n = round(abs(Fraction(*v.as_integer_ratio())) * 10**6)  # ties to even
    return f"{'-' if gmpy2.is_signed(v) else ''}{n // 10**6}.{n % 10**6:06d}"


class Program(NamedTuple):
    """A program: its prompt, its report of what it reads, and what the search types."""
    prompt: str
    report: Callable
    inputs: st.SearchStrategy

    def __call__(self, data, target=ROWS_TARGET, **options):
        return self.prompt + self.report(data, target, **options)


def one_ulp_off(program, data, target):
    """What it prints where the C library's cos or sin is one ulp off."""
    return [program(data, target, ulps=u) for u in ((1, 0), (-1, 0), (0, 1), (0, -1))]


# Single-precision values of every exponent, subnormals to overflow, the
# words, and decimals as people type them, of every size and of a few digits.
floats = st.floats(width=32)
subnormal = st.floats(-2.0**-126, 2.0**-126, width=32)
reals = st.one_of(floats, *(st.builds(lambda m, e: m * 10.0**e, st.integers(-10**7, 10**7), st.integers(*exponents))
                            for exponents in ((-52, 42), (-9, -3))))


@st.composite
def spelt(draw, value):
    """One way to write value that scanf's %f reads."""
    v = draw(value)
    if math.isnan(v) or math.isinf(v):
        word = draw(st.sampled_from(["nan", "NaN", "NAN"] if math.isnan(v) else ["inf", "INF", "Infinity"]))
        return ("-" if math.copysign(1, v) < 0 else draw(st.sampled_from(["", "+"]))) + word
    digits = draw(st.integers(0, 12))
    return draw(st.sampled_from([repr(v), f"{v:.{digits}e}", f"{v:.{digits}E}", f"{v:.{digits}g}", v.hex(),
                                 f"{v:.{digits}f}" if abs(v) < 1e8 else repr(v)]))


def typed(numbers, seps=st.sampled_from([" ", "  ", "\t", "\n", " \n "])):
    """Numbers on one line or several, and what may follow them."""
    return st.tuples(numbers, st.lists(seps, min_size=3, max_size=3), st.sampled_from(["", "\n", " 7\n"])).map(
        lambda t: "".join(n + s for n, s in zip(t[0], t[1])).rstrip() + t[2])


def trigab(data, target, ulps=(0, 0), env=None):
    """ulps moves cos and sin; env, by as much as glibc's own, run with it, asked through Python's math."""
    x, y, z = scan(data, 3, False)
    o = partial(op, target)
    args = o(DOUBLE, sub, x, PI_6), y
    if env is not None:
        code = "import math, sys; print(math.cos(float.fromhex(sys.argv[1])).hex(), math.sin(float.fromhex(sys.argv[2])).hex())"
        got = subprocess.run([sys.executable, "-c", code, *(float(a).hex() for a in args)], env=env, capture_output=True, text=True).stdout.split()
        ulps = [next(u for u in (0, 1, -1) if float(o(DOUBLE, f, a, ulps=u)) == float.fromhex(g)) for f, a, g in zip((gmpy2.cos, gmpy2.sin), args, got)]
    cos = o(DOUBLE, gmpy2.cos, args[0], ulps=ulps[0])
    numerator = o(SINGLE, pos, o(DOUBLE, mul, 2, cos))
    sin_y = o(DOUBLE, gmpy2.sin, y, ulps=ulps[1])
    denominator = o(DOUBLE, add, o(DOUBLE, mul, sin_y, sin_y), gmpy2.mpfr(0.5))
    a = o(SINGLE, pos, o(DOUBLE, truediv, numerator, denominator))
    s = o(SINGLE, mul, z, z)
    t = o(SINGLE, add, o(SINGLE, truediv, s, 5), 3)
    b = o(SINGLE, add, o(SINGLE, truediv, s, t), 1)
    return f"a: {fmt(a)}\nb: {fmt(b)}"


PROGRAMS = {"trigab": Program("3 числа через пробел: ", trigab, typed(st.lists(spelt(reals), min_size=3, max_size=3)))}


def rtriangle(data, target, **_):
    p, q = scan(data, 2, False)
    o = partial(op, target)
    area = o(SINGLE, truediv, o(SINGLE, mul, q, p), 2)
    hypotenuse = o(DOUBLE, gmpy2.sqrt, o(SINGLE, add, o(SINGLE, mul, q, q), o(SINGLE, mul, p, p)))
    return f"Гипотенуза: {fmt(hypotenuse)}\nПлощадь: {fmt(area)}"


@st.composite
def near(draw, first, at):
    """A first number, and a second whose product with it lands near 2**at."""
    a = draw(first)
    b = draw(st.floats(0.25, 4)) * 2.0**draw(at) / a if a and math.isfinite(a) else draw(floats)
    return [repr(a), repr(b if abs(b) < 3.4e38 else math.copysign(math.inf, b))]


# Areas that print: a subnormal leg with a large one, which a flushed
# subnormal turns to 0, and products at the edge of overflow, where q·p/2
# and q·(p/2) part.
legs = st.one_of(st.lists(spelt(reals), min_size=2, max_size=2), near(subnormal, st.integers(-20, 10)),
                 near(floats, st.integers(126, 129)))
PROGRAMS["rtriangle"] = Program("Длины двух катетов через пробел: ", rtriangle,
                                typed(st.one_of(legs, legs.map(lambda ab: ab[::-1]))))


def cubecalc(data, target, **_):
    (n,) = scan(data, 1, True)
    volume, lateral = ((v + 2**31) % 2**32 - 2**31 for v in (n**3, 4 * n * n))
    return f"Объем: {volume}\nПлощадь боковой поверхности: {lateral}"


edges = st.one_of(*(st.integers(-n, n) for n in (2000, 2**32, 2**65)))
PROGRAMS["cubecalc"] = Program("Дана длина ребра куба: ", cubecalc,
                               typed(st.tuples(st.builds(str.format, st.sampled_from(["{}", "+{}", "{:05d}"]), edges))))


def rows(name):
    path = ROOT / "tests" / "cases" / f"{name}.jsonl"
    return [json.loads(line) for line in path.read_text(encoding="utf-8").splitlines()] if path.exists() else []


# The programs of the tree, those the tests drive and those they cannot.
FOLDERS = {main.parent.name for main in ROOT.glob("*/main.cpp")}
TESTED = sorted(name for name in FOLDERS & PROGRAMS.keys() if rows(name))
UNTESTED = sorted(FOLDERS - set(TESTED))


def expected(row, program):
    """Each output a row names, worked out: "output", and "fma" or "no_fma"."""
    data = row["input"].encode()
    outputs = {"output": program(data)}
    for key in ("fma", "no_fma"):
        if key in row:
            near = set(one_ulp_off(program, data, ROWS_TARGET)) - {outputs["output"]}
            outputs[key] = row[key] if row[key] in near else f"one of {sorted(near)}"
    return outputs


def on_target(row, program, target, env):
    """What the program built for target prints for the row, run with env. Where glibc's x86-64 sines
    differ, it picks one by the CPU and GLIBC_TUNABLES: it is asked which, and it must be one of the two."""
    data, fused = row["input"].encode(), ("fma" in row or "no_fma" in row) and fact(target, "fused")
    if fused == "cpu":
        output = program(data, target, env=env)
        if output not in row.values():
            raise Unmodelled(f"this machine's sin and cos are neither of glibc's two: {output!r}")
        return output
    return row.get({"yes": "fma", "no": "no_fma"}.get(fused), program(data, target))


if __name__ == "__main__":
    parser = argparse.ArgumentParser(description="Prints a new case row, its output worked out.")
    parser.add_argument("program", choices=PROGRAMS)
    parser.add_argument("input", help="its standard input")
    parser.add_argument("why", help="what the row is for")
    args = parser.parse_args()
    try:
        print(json.dumps((row := {"input": args.input, "why": args.why}) | expected(row, PROGRAMS[args.program]), ensure_ascii=False))
    except Unmodelled as e:
        sys.exit(f"oracle.py: {e}")
