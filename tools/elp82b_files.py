"""Reading the 36 series files of ELP 2000-82B (Chapront-Touze & Chapront,
CDS catalogue VI/79), shared by the table generators of lunaris
(gen_elp82b.py) and of orbitcore's compact lunar series (gen_moon_series.py).

Each file ELPn holds one coordinate, (n - 1) mod 3: 0 = longitude V and
1 = latitude U (arc seconds), 2 = distance r (km), multiplied by the Poisson
factor t^power (poisson_power).  The main problem (ELP1-3) tabulates sine
series for V and U and a cosine series for r, with the partial derivatives
(B columns) that carry the DE200/LE200 fit corrections of the notice
("Lunar Solution ELP 2000-82B", sect. 7); every other file tabulates
A sin(phi + argument).

Python 3 standard library only.
"""
import math
import os

N_FILES = 36
N_RECORDS = 37872                    # records in ELP1 ... ELP36

RHO = 648000.0 / math.pi             # arc seconds per radian

# Fit corrections to the constants (notice sect. 7) and the ratios used by
# the authors' routine to apply them to ELP1-3.
NU = 1732559343.73604                # fitted sidereal mean motion, "/cy
DNU = 0.55604                        # delta nu, "/cy
DNP = -0.06424                       # delta n', "/cy
DE = 0.01789                         # delta E, "
DG = -0.08066                        # delta Gamma, "
DEP = -0.12879                       # delta e', " (arcsec-scaled)
M_RATIO = 0.074801329518             # m = n'/nu
ALPHA = 0.002571881335               # a0/a'
B5_FACTOR = 2.0 * ALPHA / (3.0 * M_RATIO)

# Column families: the arguments each integer multiplier belongs to, in the
# order the file lists them.
FAMILY_MAIN = "main"                 # ELP1-3:   D l' l F
FAMILY_FIGURE = "figure"             # ELP4-9, 22-36: zeta D l' l F
FAMILY_PLANET1 = "planet1"           # ELP10-15: Me V T Ma J S U N D l F
FAMILY_PLANET2 = "planet2"           # ELP16-21: Me V T Ma J S U D l' l F


def coordinate(n):
    """0 = V, 1 = U, 2 = r for file ELPn."""
    return (n - 1) % 3


def poisson_power(n):
    """Power of t multiplying every term of file ELPn."""
    if n in (7, 8, 9, 13, 14, 15, 19, 20, 21, 25, 26, 27):
        return 1
    if n in (34, 35, 36):
        return 2
    return 0


def family(n):
    if n <= 3:
        return FAMILY_MAIN
    if n <= 9 or n >= 22:
        return FAMILY_FIGURE
    return FAMILY_PLANET1 if n <= 15 else FAMILY_PLANET2


def path(data_dir, n):
    """The file ELPn in data_dir."""
    return os.path.join(data_dir, "ELP%d" % n)


def paths(data_dir):
    """ELP1 ... ELP36 in data_dir, in the order the generators read them."""
    return [path(data_dir, n) for n in range(1, N_FILES + 1)]


def records(data_dir, n):
    """Yield (mult, phase_deg, a, a_fit) for every record of ELPn.

    mult: the integer multipliers in the file's column order (see family);
    phase_deg: the phase phi in degrees, None for the main problem (sine
    series for V and U, cosine series for r); a: the tabulated amplitude
    (arc seconds or km); a_fit: the amplitude with the fit correction for the
    main problem, a itself for the other files.
    """
    with open(path(data_dir, n), "r", encoding="ascii") as f:
        lines = f.read().split("\n")
    fam = family(n)
    for line in lines[1:]:
        if not line.strip():
            continue
        if fam == FAMILY_MAIN:
            mult = [int(line[i:i + 3]) for i in range(0, 12, 3)]
            a = float(line[14:27])
            b = [float(line[29 + 12 * j:39 + 12 * j]) for j in range(6)]
            da = ((b[0] + B5_FACTOR * b[4]) * (DNP - M_RATIO * DNU) / NU
                  + (b[1] * DG + b[2] * DE + b[3] * DEP) / RHO)
            if coordinate(n) == 2:
                da -= 2.0 / 3.0 * a * DNU / NU
            yield mult, None, a, a + da
        elif fam == FAMILY_FIGURE:
            mult = [int(line[i:i + 3]) for i in range(0, 15, 3)]
            a = float(line[26:35])
            yield mult, float(line[16:25]), a, a
        else:
            mult = [int(line[i:i + 3]) for i in range(0, 33, 3)]
            a = float(line[44:53])
            yield mult, float(line[34:43]), a, a
