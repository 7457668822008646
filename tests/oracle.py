#!/usr/bin/python3
"""What each program prints, worked out apart from its C++ code: numbers read
as glibc's scanf reads them, every rounding done explicitly on exact
rationals, cos and sin correctly rounded with mpmath, printed as printf does.
It is also the one reader of the case rows in cases/.

  oracle.py PROGRAM INPUT [WHY]   one case row (JSON) for that standard input
  oracle.py --check FILE... [--build BUILD [--cpu CPU] [--launcher EMULATOR]]
      recompute every row and fail on a difference; with --build, also run
      each row's input through BUILD/PROGRAM/PROGRAM (built for CPU, a GNU
      processor name such as x86_64 or arm) and compare every byte

A row holds what x86-64 prints: "output", and for the rows where glibc's two
x86-64 sines and cosines differ, "fma" or "no_fma", what the variant for a
CPU with (or without) fused multiply-add prints instead. Those two values
were taken from running each variant; the oracle checks only that each is
what sin or cos one unit in the last place off gives.

Where a CPU's NaNs differ from x86-64's, the one rule is: it must print
what the oracle works out with that CPU's NaNs (NANS below).
"""
import argparse
import json
import math
import operator
import os
import re
import shlex
import subprocess
import sys
from concurrent.futures import ThreadPoolExecutor
from fractions import Fraction

import mpmath

SINGLE, DOUBLE = (24, -126, 127), (53, -1022, 1023)  # precision, exponent range
PI_6 = Fraction(0x10C152382D7365, 1 << 53)  # the double 0.5235987755982988

# What IEEE 754 leaves to the CPU: the sign of the NaN an invalid operation
# makes, and whether an operation on a NaN passes its sign on; RISC-V and
# MIPS give every NaN they make the one default NaN, which is positive.
NANS = {"x86": (-1, True), "other": (1, True), "default": (1, False)}
CPUS = {"x86_64": "x86", "i686": "x86", "riscv64": "default", "mips64el": "default", "mipsel": "default"}
nans = NANS["x86"]
# Where glibc's sin and cos fuse multiply-adds, as they do on x86-64 CPUs
# with FMA: measured under qemu-user.
FUSED = {"aarch64", "loongarch64", "powerpc64le", "riscv64", "s390x"}


class Unmodelled(Exception):
    pass


def rnd(q, fmt):
    """A finite value rounded to nearest-even in fmt; floats stand for
    zeros, infinities and NaNs, Fractions for every other number."""
    if isinstance(q, float):
        return q
    if q == 0:
        return 0.0
    p, emin, emax = fmt
    m = abs(q)
    e = max(m.numerator.bit_length() - m.denominator.bit_length(), emin)
    while m >= Fraction(2) ** (e + 1):
        e += 1
    while e > emin and m < Fraction(2) ** e:
        e -= 1
    ulp = Fraction(2) ** (e - p + 1)
    n = round(m / ulp)  # Fraction rounds ties to even
    if n == 0:
        return math.copysign(0.0, sign(q))
    if n * ulp >= Fraction(2) ** (emax + 1):
        return math.copysign(math.inf, sign(q))
    return n * ulp if q > 0 else -n * ulp


def sign(v):
    return math.copysign(1, v) if isinstance(v, float) else (1 if v > 0 else -1)


def invalid():
    return math.copysign(math.nan, nans[0])


def passed_on(v):
    """A NaN operand as the result of an operation."""
    return v if nans[1] else invalid()


OPS = {"+": operator.add, "-": operator.sub, "*": operator.mul, "/": operator.truediv}


def op(kind, a, b, fmt):
    found = [v for v in (a, b) if isinstance(v, float) and math.isnan(v)]
    if found:
        # Which NaN wins depends on operand order the compiler may swap.
        if len({sign(v) for v in found}) > 1 and nans[1]:
            raise Unmodelled("two NaNs of different signs meet")
        return passed_on(found[0])
    if all(isinstance(v, Fraction) or v == 0 for v in (a, b)):
        x, y = Fraction(a), Fraction(b)
        r = OPS[kind](x, y)
        if r != 0:
            return rnd(r, fmt)
        if kind in "*/":
            return math.copysign(0.0, sign(a) * sign(b))
        b_sign = sign(b) if kind == "+" else -sign(b)
        return -0.0 if a == 0 and sign(a) < 0 and b_sign < 0 else 0.0
    fa, fb = float(a), float(b)
    r = OPS[kind](fa, fb)
    return invalid() if math.isnan(r) else r


def libm(name, v, ulps=0):
    """cos, sin or sqrt correctly rounded to double, then moved by ulps."""
    if isinstance(v, float):
        if math.isnan(v):
            return passed_on(v)
        if v == 0:
            return {"cos": Fraction(1), "sin": v, "sqrt": v}[name]
        return v if name == "sqrt" and v > 0 else invalid()
    if name == "sqrt" and v < 0:
        return invalid()
    with mpmath.workprec(320 + int(abs(v)).bit_length()):
        negative, man, exp, _ = getattr(mpmath, name)(mpmath.mpf(v.numerator) / v.denominator)._mpf_
    exact, eps = (-1) ** negative * Fraction(man) * Fraction(2) ** exp, Fraction(1, 2**280)
    r = rnd(exact, DOUBLE)
    if rnd(exact * (1 - eps), DOUBLE) != r or rnd(exact * (1 + eps), DOUBLE) != r:
        raise Unmodelled(f"{name} lies too close to a rounding boundary")
    nearest = float(r)
    for _ in range(abs(ulps)):
        nearest = math.nextafter(nearest, math.copysign(math.inf, ulps))
    return Fraction(nearest)


FLOAT = re.compile(rb"""[+-]?(?:
    (?P<hex>0[xX](?:[0-9a-fA-F]+\.?[0-9a-fA-F]*|\.[0-9a-fA-F]+)(?:[pP][+-]?[0-9]+)?)
  | (?P<dec>(?:[0-9]+\.?[0-9]*|\.[0-9]+)(?:[eE][+-]?[0-9]+)?)
  | (?P<inf>[iI][nN][fF](?:[iI][nN][iI][tT][yY])?) | (?P<nan>[nN][aA][nN]))""", re.X)
INTEGER = re.compile(rb"[+-]?[0-9]+")


def trap(m, data):
    """Whether scanf would read on past the longest number found, where its
    one character of push-back leaves the outcome to glibc's own choices."""
    after = data[m.end():m.end() + 1]
    return after != b"" and bool(m["dec"] and after in b"eExX" or m["hex"] and after in b"pP"
                                 or m["inf"] and len(m["inf"]) == 3 and after in b"iI"
                                 or m["nan"] and after == b"(")


def scan(data, count, integer):
    """The numbers scanf("%f %f ...") or scanf("%d") converts; the rest stay 0."""
    values, pos = [], 0
    while len(values) < count:
        while pos < len(data) and data[pos] in b" \t\n\v\f\r":
            pos += 1
        m = (INTEGER if integer else FLOAT).match(data, pos)
        if not m:
            break  # a failed conversion ends the reading
        if not integer and trap(m, data):
            raise Unmodelled(f"scanf's reading of {data[pos:pos + 16]!r} is not modelled")
        pos = m.end()
        if integer:
            n = max(min(int(m[0]), 2**63 - 1), -2**63)  # read as a long, clamped,
            values.append((n + 2**31) % 2**32 - 2**31)  # then cut to an int
            continue
        exponent = re.search(rb"[eEpP][+-]?([0-9]+)$", m[0])
        if exponent and int(exponent[1]) > 9999:
            raise Unmodelled("an exponent too large to work out quickly")
        if m["inf"] or m["nan"]:
            v = math.inf if m["inf"] else math.nan
        elif m["hex"]:
            digits, _, exp = m["hex"][2:].lower().partition(b"p")
            whole, _, frac = digits.partition(b".")
            v = Fraction(int(whole + frac, 16), 16 ** len(frac)) * Fraction(2) ** int(exp or b"0")
        else:
            v = Fraction(m["dec"].decode())
        v = rnd(v, SINGLE)
        values.append(-v if m[0][:1] == b"-" else v)
    return values + [0 if integer else 0.0] * (count - len(values))


def fmt(v):
    """printf's %f."""
    if isinstance(v, float) and (math.isnan(v) or math.isinf(v)):
        return ("-" if sign(v) < 0 else "") + ("nan" if math.isnan(v) else "inf")
    n = round(abs(Fraction(v)) * 10**6)
    return f"{'-' if sign(v) < 0 else ''}{n // 10**6}.{n % 10**6:06d}"


def trigab(data, ulps=(0, 0)):
    x, y, z = scan(data, 3, False)
    numerator = rnd(op("*", Fraction(2), libm("cos", op("-", x, PI_6, DOUBLE), ulps[0]), DOUBLE), SINGLE)
    sin_y = libm("sin", y, ulps[1])
    denominator = op("+", op("*", sin_y, sin_y, DOUBLE), Fraction(1, 2), DOUBLE)
    a = rnd(op("/", numerator, denominator, DOUBLE), SINGLE)
    s = op("*", z, z, SINGLE)
    t = op("+", op("/", s, Fraction(5), SINGLE), Fraction(3), SINGLE)
    b = op("+", op("/", s, t, SINGLE), Fraction(1), SINGLE)
    return f"3 числа через пробел: a: {fmt(a)}\nb: {fmt(b)}"


def rtriangle(data):
    p, q = scan(data, 2, False)
    area = op("/", op("*", q, p, SINGLE), Fraction(2), SINGLE)
    hypotenuse = libm("sqrt", op("+", op("*", q, q, SINGLE), op("*", p, p, SINGLE), SINGLE))
    return f"Длины двух катетов через пробел: Гипотенуза: {fmt(hypotenuse)}\nПлощадь: {fmt(area)}"


def cubecalc(data):
    (n,) = scan(data, 1, True)
    wrap = lambda v: (v + 2**31) % 2**32 - 2**31
    return f"Дана длина ребра куба: Объем: {wrap(n**3)}\nПлощадь боковой поверхности: {wrap(4 * n * n)}"


PROGRAMS = {"trigab": trigab, "rtriangle": rtriangle, "cubecalc": cubecalc}


def expected(row, program):
    """Each output a row names, worked out: "output", and "fma" or "no_fma"
    (glibc's sin and cos for such a CPU, one ulp from the truth)."""
    data = row["input"].encode()
    outputs = {"output": program(data)}
    for key in ("fma", "no_fma"):
        if key in row:
            near = {program(data, u) for u in ((1, 0), (-1, 0), (0, 1), (0, -1))} - {outputs["output"]}
            outputs[key] = row[key] if row[key] in near else f"one of {sorted(near)}"
    return outputs


def fused_libm(cpu):
    """Whether glibc's sin and cos fuse multiply-adds here: on x86-64 where
    the CPU has FMA and AVX2 and GLIBC_TUNABLES does not mask them."""
    if cpu != "x86_64":
        return cpu in FUSED
    with open("/proc/cpuinfo") as f:
        flags = set(re.search(r"^flags\s*:(.*)$", f.read(), re.M)[1].split())
    return {"fma", "avx2"} <= flags and "-FMA" not in os.environ.get("GLIBC_TUNABLES", "")


def on_cpu(row, program, cpu):
    """What the program built for cpu must print for the row."""
    global nans
    libm = "fma" if fused_libm(cpu) else "no_fma"
    if libm in row:
        return row[libm]
    if CPUS.get(cpu, "other") == "x86":
        return row["output"]
    nans = NANS[CPUS.get(cpu, "other")]
    try:
        return program(row["input"].encode())
    finally:
        nans = NANS["x86"]


def run(path, data, emulator):
    """Standard output of one run, or why the run itself failed."""
    r = subprocess.run([*emulator, path], input=data, capture_output=True, timeout=60)
    if r.returncode or r.stderr:
        return f"(status {r.returncode}, standard error {r.stderr!r})"
    return r.stdout.decode(errors="replace")


def check(paths, build=None, cpu=None, emulator=()):
    passed = failed = 0
    for path in paths:
        name = os.path.basename(path).split(".")[0]
        program = PROGRAMS[name]
        with open(path, encoding="utf-8") as f:
            rows = [json.loads(line) for line in f]
        if build:
            with ThreadPoolExecutor(os.cpu_count()) as pool:
                got = list(pool.map(lambda r: run(f"{build}/{name}/{name}", r["input"].encode(), emulator), rows))
        for number, row in enumerate(rows, 1):
            try:
                want = expected(row, program)
                here = on_cpu(row, program, cpu) if build else None
            except Unmodelled as e:
                want = {"output": f"(unmodelled: {e})"}
            wrong = [f"{k} is {row.get(k)!r}, the oracle says {want.get(k)!r}"
                     for k in want.keys() | row.keys() - {"input", "why"} if row.get(k) != want.get(k)]
            if build and not wrong and got[number - 1] != here:
                wrong.append(f"{name} printed {got[number - 1]!r}, not {here!r}")
            for w in wrong:
                print(f"{path}:{number}: {w}")
            failed += bool(wrong)
            passed += not wrong
    print(f"{passed} passed, {failed} failed")
    return failed == 0


def main():
    parser = argparse.ArgumentParser(description=__doc__.split("\n\n")[0],
                                     formatter_class=argparse.RawDescriptionHelpFormatter)
    parser.add_argument("program", nargs="?", choices=PROGRAMS, help="the program of a new row")
    parser.add_argument("input", nargs="?", help="its standard input")
    parser.add_argument("why", nargs="?", default="", help="what the row is for")
    parser.add_argument("--check", nargs="+", metavar="FILE", help="recompute every row of these files")
    parser.add_argument("--build", help="and run each row through BUILD/PROGRAM/PROGRAM")
    parser.add_argument("--cpu", default="x86_64", help="the GNU processor name the build is for")
    parser.add_argument("--launcher", default="", help="the emulator it runs under, as one string")
    args = parser.parse_args()
    if args.check:
        sys.exit(0 if check(args.check, args.build, args.cpu, shlex.split(args.launcher)) else 1)
    if not args.input:
        parser.error("give --check FILE..., or PROGRAM and INPUT")
    try:
        row = {"input": args.input, "why": args.why}
        print(json.dumps(row | expected(row, PROGRAMS[args.program]), ensure_ascii=False))
    except Unmodelled as e:
        sys.exit(f"oracle.py: {e}")


if __name__ == "__main__":
    main()
