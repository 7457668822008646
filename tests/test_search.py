"""A search beside the rows: inputs drawn as people and scripts type them,
each program's output compared with the oracle's, byte for byte. Inputs the
oracle cannot model are skipped and counted (--hypothesis-show-statistics)."""
import math
import subprocess

import pytest
from hypothesis import event, given, reject, strategies as st

import oracle

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


@st.composite
def near(draw, first, at):
    """A first number, and a second whose product with it lands near 2**at."""
    a = draw(first)
    b = draw(st.floats(0.25, 4)) * 2.0**draw(at) / a if a and math.isfinite(a) else draw(floats)
    return [repr(a), repr(b if abs(b) < 3.4e38 else math.copysign(math.inf, b))]


def typed(numbers, seps=st.sampled_from([" ", "  ", "\t", "\n", " \n "])):
    """Numbers on one line or several, and what may follow them."""
    return st.tuples(numbers, st.lists(seps, min_size=3, max_size=3), st.sampled_from(["", "\n", " 7\n"])).map(
        lambda t: "".join(n + s for n, s in zip(t[0], t[1])).rstrip() + t[2])


# Areas that print: a subnormal leg with a large one, which a flushed
# subnormal turns to 0, and products at the edge of overflow, where q·p/2
# and q·(p/2) part.
legs = st.one_of(st.lists(spelt(reals), min_size=2, max_size=2), near(subnormal, st.integers(-20, 10)),
                 near(floats, st.integers(126, 129)))
edges = st.one_of(*(st.integers(-n, n) for n in (2000, 2**32, 2**65)))
INPUTS = {
    "trigab": typed(st.lists(spelt(reals), min_size=3, max_size=3)),
    "rtriangle": typed(st.one_of(legs, legs.map(lambda ab: ab[::-1]))),
    "cubecalc": typed(st.tuples(st.builds(str.format, st.sampled_from(["{}", "+{}", "{:05d}"]), edges))),
}


@pytest.mark.parametrize("name", oracle.PROGRAMS)
@given(data=st.data())
def test_search(command, target, name, data):
    text = data.draw(INPUTS[name], label="input")
    try:
        want = oracle.PROGRAMS[name](text.encode(), target)
    except oracle.Unmodelled as e:
        event(f"the oracle cannot model it: {e}")
        reject()
    run = subprocess.run(command(name), input=text.encode(), capture_output=True, timeout=60)
    out = run.stdout.decode()
    # The C library's sine and cosine may be an ulp off, as the manual says.
    if name == "trigab" and out != want and out in oracle.one_ulp_off(text.encode(), target):
        event("a sine or cosine one ulp off")
        want = out
    assert (out, run.stderr, run.returncode) == (want, b"", 0)
