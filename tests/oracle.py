#!/usr/bin/python3
"""What each program prints, worked out apart from its C++ code: numbers read
as glibc's scanf reads them, each operation correctly rounded by GNU MPFR in
IEEE 754 single or double precision, printed as printf's %f. A case row in
cases/ holds "output", what correctly rounded sines and cosines give, and
where glibc's two x86-64 sines and cosines are an ulp off, "fma" or "no_fma":
what the variant for a CPU with (or without) fused multiply-add prints, taken
from running each and checked to be what sin or cos one ulp off gives.

  tests/oracle.py PROGRAM INPUT WHY    prints a new row"""
import argparse, csv, json, math, pathlib, re, sys, sysconfig
from fractions import Fraction
from functools import partial
from operator import add, mul, pos, sub, truediv

import gmpy2

SINGLE, DOUBLE = gmpy2.ieee(32), gmpy2.ieee(64)  # with subnormals
# A context for one operation: gmpy2 2.1's context.div rounds in the global
# one, and 2.2 deprecates local_context.
within = gmpy2.local_context if tuple(map(int, gmpy2.version().split(".")[:2])) < (2, 2) else gmpy2.context
PROMPTS = {"trigab": "3 числа через пробел: ", "rtriangle": "Длины двух катетов через пробел: ", "cubecalc": "Дана длина ребра куба: "}
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
    """The row of targets.tsv named by its Debian architecture, GNU triple or
    multiarch tuple, this machine's by default; for one it lacks, a name alone."""
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


def trigab(data, target=ROWS_TARGET, ulps=(0, 0)):
    x, y, z = scan(data, 3, False)
    o = partial(op, target)
    cos = o(DOUBLE, gmpy2.cos, o(DOUBLE, sub, x, PI_6), ulps=ulps[0])
    numerator = o(SINGLE, pos, o(DOUBLE, mul, 2, cos))
    sin_y = o(DOUBLE, gmpy2.sin, y, ulps=ulps[1])
    denominator = o(DOUBLE, add, o(DOUBLE, mul, sin_y, sin_y), gmpy2.mpfr(0.5))
    a = o(SINGLE, pos, o(DOUBLE, truediv, numerator, denominator))
    s = o(SINGLE, mul, z, z)
    t = o(SINGLE, add, o(SINGLE, truediv, s, 5), 3)
    b = o(SINGLE, add, o(SINGLE, truediv, s, t), 1)
    return f"{PROMPTS['trigab']}a: {fmt(a)}\nb: {fmt(b)}"


def rtriangle(data, target=ROWS_TARGET):
    p, q = scan(data, 2, False)
    o = partial(op, target)
    area = o(SINGLE, truediv, o(SINGLE, mul, q, p), 2)
    hypotenuse = o(DOUBLE, gmpy2.sqrt, o(SINGLE, add, o(SINGLE, mul, q, q), o(SINGLE, mul, p, p)))
    return f"{PROMPTS['rtriangle']}Гипотенуза: {fmt(hypotenuse)}\nПлощадь: {fmt(area)}"


def cubecalc(data, target=ROWS_TARGET):
    (n,) = scan(data, 1, True)
    volume, lateral = ((v + 2**31) % 2**32 - 2**31 for v in (n**3, 4 * n * n))
    return f"{PROMPTS['cubecalc']}Объем: {volume}\nПлощадь боковой поверхности: {lateral}"


# Every program of the tree, a folder with a main.cpp, has its model here.
PROGRAMS = {main.parent.name: globals()[main.parent.name] for main in sorted(ROOT.glob("*/main.cpp"))}


def expected(row, program):
    """Each output a row names, worked out: "output", and "fma" or "no_fma"."""
    data = row["input"].encode()
    outputs = {"output": program(data)}
    for key in ("fma", "no_fma"):
        if key in row:
            near = set(one_ulp_off(data, ROWS_TARGET)) - {outputs["output"]}
            outputs[key] = row[key] if row[key] in near else f"one of {sorted(near)}"
    return outputs


def one_ulp_off(data, target):
    """What trigab prints where glibc's cosine or sine is one ulp off."""
    return [trigab(data, target, u) for u in ((1, 0), (-1, 0), (0, 1), (0, -1))]


def on_target(row, program, target, env):
    """What the program built for target must print for the row, run with env.
    On x86-64 glibc's sin and cos fuse where the CPU has FMA and AVX2 and
    GLIBC_TUNABLES lets them."""
    kind = fact(target, "fused") if "fma" in row or "no_fma" in row else target.get("fused")
    fused = kind == "yes"
    if kind == "cpu":
        flags = set(re.search(r"^flags\s*:(.*)$", pathlib.Path("/proc/cpuinfo").read_text(), re.M)[1].split())
        fused = {"fma", "avx2"} <= flags and "-FMA" not in env.get("GLIBC_TUNABLES", "")
    if ("fma" if fused else "no_fma") in row:
        return row["fma" if fused else "no_fma"]
    return program(row["input"].encode(), target)


if __name__ == "__main__":
    parser = argparse.ArgumentParser(description="Prints a new case row, its output worked out.")
    parser.add_argument("program", choices=PROGRAMS)
    parser.add_argument("input", help="its standard input")
    parser.add_argument("why", help="what the row is for")
    args = parser.parse_args()
    try:
        row = {"input": args.input, "why": args.why}
        print(json.dumps(row | expected(row, PROGRAMS[args.program]), ensure_ascii=False))
    except Unmodelled as e:
        sys.exit(f"oracle.py: {e}")
