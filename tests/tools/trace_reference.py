#!/usr/bin/env python3
"""Expected text of `velmorin-trace --seed 7 --frames 2 --dt 0.015 --particles`, worked out
without the program: the generator, the scene, the physics step and the sprays written again from
their descriptions, in plain Python doubles (IEEE like C's, and '%.17g' prints like printf).
The spray colour goes through single precision, as the program stores it.

Takes the trace's --seed, --frames, --dt, --bodies, --speed and --spray to work out other runs;
--particles is always implied."""
import argparse
import math
import struct
import sys

parser = argparse.ArgumentParser()
parser.add_argument("--seed", type=int, default=7)
parser.add_argument("--frames", type=int, default=2)
parser.add_argument("--dt", type=float, default=0.015)
parser.add_argument("--bodies", type=int, default=5)
parser.add_argument("--speed", type=float, default=1.0)
parser.add_argument("--spray", type=int, default=100)
parser.add_argument("--particles", action="store_true")
settings = parser.parse_args()
SEED, FRAMES = settings.seed, settings.frames
DT = settings.speed * settings.dt  # one step: the speed times the given dt, in double
G = 0.66726
LOOKAHEAD = 0.0001

state = 0


def draw():
    global state
    state = (state * 22695477 + 1) % 2**32
    return ((state >> 16) & 0x7FFF) / 32767


def single(x):
    return struct.unpack("f", struct.pack("f", x))[0]


# A vector is a (dir, mag) pair, dir a tuple of three components.
def length(v):
    return math.sqrt(v[0] * v[0] + v[1] * v[1] + v[2] * v[2])


def normal_form(v):
    n = length(v)
    return ((0.0, 0.0, 0.0), 0.0) if n == 0.0 else ((v[0] / n, v[1] / n, v[2] / n), n)


def plain(d):
    return tuple(c * d[1] for c in d[0])


def add(a, b):
    if a[1] == 0.0:
        return b
    return normal_form(tuple(x + y for x, y in zip(plain(a), plain(b))))


def ahead(velocity, position, s):
    return tuple((d * velocity[1]) * s + p for d, p in zip(velocity[0], position))


def distance(p, q):
    return length(tuple(a - b for a, b in zip(p, q)))


class Body:
    pass


state = SEED
draw()  # seeding discards one output
bodies, out = [], []
cx = cy = cz = total = 0.0
for i in range(settings.bodies):
    b = Body()
    x = 10 * draw() - 5
    y = 10 * draw() - 5
    draw()  # the third draw is taken but has no effect: every body starts at z = -3
    b.pos = (x, y, -3.0)
    b.radius = 0.4 * draw() + 0.1
    b.mass = ((83.7758040957278 * b.radius) * b.radius) * b.radius
    b.inertia = ((0.4 * b.mass) * b.radius) * b.radius
    b.vel = ((0.0, 0.0, 0.0), 0.0)
    b.particles = []
    b.color = [single(draw()), single(draw()), single(draw()), 1.0]
    b.texture = min(int(12 * draw()), 11)
    bodies.append(b)
    cx, cy, cz = cx + b.pos[0] * b.mass, cy + b.pos[1] * b.mass, cz + b.pos[2] * b.mass
    total += b.mass
    out.append("body\t%d\t" % i + "\t".join("%.17g" % v for v in
               (*b.pos, b.radius, b.mass, b.inertia, *b.color)) + "\t%d" % b.texture)
out.append("center\t%.17g\t%.17g\t%.17g" % (cx / total, cy / total, cz / total))

for frame in range(1, FRAMES + 1):
    # The collision stage would act only on overlapping pairs; this seed has none, so every
    # velocity change comes from the attraction.
    for a in bodies:
        for b in bodies:
            if a is not b and distance(a.pos, b.pos) <= a.radius + b.radius:
                sys.exit("overlapping bodies: this reference leaves collisions out")
    for a in bodies:
        a.pull = ((0.0, 0.0, 0.0), 0.0)
        for b in bodies:
            if a is b:
                continue
            direction = normal_form(tuple(x - y for x, y in zip(a.pos, b.pos)))[0]
            force = -(b.mass * (a.mass * G))
            a.pull = add(a.pull, (direction, (force / a.mass) * DT))
    for a in bodies:
        a.vel = add(a.vel, (a.pull[0], a.pull[1] * DT))
        a.pos = ahead(a.vel, a.pos, DT)
    for b in bodies:
        # Below the spray's length a new point is born; at it the oldest is launched again.
        if len(b.particles) >= settings.spray:
            if not b.particles:
                continue  # no spray at all: no point and no draw
            b.particles.pop()
        (vx, vy, vz), speed = b.vel
        kx = (draw() + vx * speed) - 0.5
        ky = (0.6 - b.radius) * 4 + vy * speed
        kz = (draw() + vz * speed) - 0.5
        kick = (kx, ky, kz)
        b.particles.insert(0, [(b.pos[0], b.pos[1] + b.radius, b.pos[2]), normal_form(kick)])
        for p in b.particles:
            v = plain(p[1])
            p[1] = normal_form((v[0], v[1] - G * DT, v[2]))
            p[0] = tuple(x + d * DT for x, d in zip(p[0], p[1][0]))
    for i, b in enumerate(bodies):
        out.append("state\t%d\t%d\t" % (frame, i) + "\t".join(
            "%.17g" % v for v in (*b.pos, *b.vel[0], b.vel[1])))
    for i, b in enumerate(bodies):
        for k, p in enumerate(b.particles):
            out.append("particle\t%d\t%d\t%d\t" % (frame, i, k) + "\t".join(
                "%.17g" % v for v in (*p[0], *p[1][0], p[1][1])))

print("\n".join(out))
