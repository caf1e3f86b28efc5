#!/usr/bin/env python3
"""Makes the game's one hundred picture levels and the play-field tables.

    tools/make_levels.py [--data DIR] [--mini FILE]

Writes DIR/Game/Levels/Picross/Level-1.PACLevel .. Level-100.PACLevel and
DIR/Game/PlayField/GridSizes.txt and RGBS.txt (DIR defaults to the repository's data/).
With --mini it also writes the stages map's thumbnail records ("MiniLevels.txt" form).

Every picture is drawn below as text art, one letter per colour ("." is an empty cell).
Before anything is written each level is checked: at most three colours, no run longer
than 20 cells, a board that fits the screen, and clues that lead to the picture by line
logic alone (so the picture is the only solution and no guessing is needed). Any level
that fails stops the script with a message; nothing is written then. The output depends
on nothing but this file, so running it twice gives identical files.
"""
import os
import sys

# The palette: (letter used in the art, name, r, g, b). Colour id = position + 1.
# The clue numbers are drawn in their colour: over dark backs, or over light backs when the
# colour is so dark that red, green and blue are all below 75. Every colour must read on its
# back: a contrast of at least 3 to 1 (see check_palette).
PALETTE = [
    ("R", "Red", 220, 50, 47),
    ("O", "Orange", 245, 140, 30),
    ("Y", "Yellow", 250, 205, 40),
    ("G", "Green", 95, 180, 60),
    ("F", "Forest", 40, 130, 72),
    ("S", "Sky", 95, 175, 235),
    ("B", "Blue", 55, 110, 215),
    ("N", "Navy", 30, 40, 72),
    ("P", "Purple", 150, 90, 190),
    ("K", "Pink", 245, 140, 180),
    ("W", "Brown", 155, 104, 60),
    ("D", "Sand", 225, 190, 135),
    ("A", "Grey", 140, 145, 150),
    ("C", "Charcoal", 50, 50, 60),
    ("E", "Cream", 245, 242, 230),
    ("T", "Teal", 30, 160, 155),
]
COLOUR_ID = {p[0]: i + 1 for i, p in enumerate(PALETTE)}

# Tile side in virtual pixels per size index, smallest first.
GRID_SIZES = [24, 28, 32, 36, 40, 44, 48, 52, 56, 64, 72]

# Room for the board: the block of clue numbers and grid is centred at (462, 384) of the
# 1024 x 768 screen, left of the game panel's strip (x 924 to 1024). Clue-number images are
# assumed at most 0.45 of a tile high and 0.3 (one digit) or 0.5 (two digits) of a tile wide
# when drawn: for the first image set, drawn for 128-pixel tiles, at most 57.6 pixels high
# and 38.4 or 64 wide (the second set in the same proportions). The test over data/ lays the
# levels out with the game's own code and the real images once they exist.
BOARD_MAX_W, BOARD_MAX_H = 860, 730
NUM_H, NUM_W1, NUM_W2 = 0.45, 0.30, 0.50

MAX_RUN, MAX_COLOURS, MAX_COLS, MAX_ROWS = 20, 3, 20, 15

MOTIFS = {}


def motif(name, art):
    rows = [r.strip() for r in art.strip().splitlines()]
    MOTIFS[name] = rows


# ---------------------------------------------------------------------------------------
# Pictures, in play order. Letters are palette letters (see PALETTE).
# ---------------------------------------------------------------------------------------

# --- One colour. ---

motif("heart5", """
.R.R.
RRRRR
RRRRR
.RRR.
..R..
""")

motif("house5", """
..W..
.WWW.
WWWWW
.W.W.
.W.W.
""")

motif("tree5", """
..F..
.FFF.
FFFFF
..F..
..F..
""")

motif("fish5", """
.....
.OO.O
O.OOO
.OO.O
.....
""")

motif("bell5", """
..Y..
.YYY.
.YYY.
YYYYY
..Y..
""")

motif("boat5", """
.B...
.BB..
.BBB.
BBBBB
.BBB.
""")

motif("arrow5", """
..B..
.BBB.
B.B.B
..B..
..B..
""")

motif("crown9", """
Y...Y...Y
YY.YYY.YY
YYYYYYYYY
Y.YY.YY.Y
YYYYYYYYY
""")

motif("key10", """
.YYY......
YY.YY.....
Y...YYYYYY
YY.YY..Y.Y
.YYY...Y.Y
""")

motif("ghost10", """
...AAAA...
.AAAAAAAA.
AAAAAAAAAA
AA.AAAA.AA
AA.AAAA.AA
AAAAAAAAAA
AAAA..AAAA
AAAAAAAAAA
AAAAAAAAAA
A.AAA.AAA.
""")

motif("rocket7", """
...R...
..RRR..
..RRR..
.RRRRR.
.RR.RR.
.RRRRR.
.RRRRR.
RRRRRRR
RR.R.RR
R..R..R
""")

motif("bulb8", """
..YYYY..
.YYYYYY.
YYYYYYYY
YYYYYYYY
YYYYYYYY
.YYYYYY.
..YYYY..
..Y..Y..
..YYYY..
...YY...
""")

motif("bunny8", """
.AA..AA.
.AA..AA.
.AA..AA.
.AAAAAA.
AAAAAAAA
AA.AA.AA
AAAAAAAA
AAA..AAA
.AAAAAA.
..AAAA..
""")

motif("anchor9", """
....N....
...N.N...
....N....
.NNNNNNN.
....N....
N...N...N
NN..N..NN
.NN.N.NN.
..NNNNN..
""")

motif("apple9", """
.....R...
....R....
.RRR.RRR.
RRRRRRRRR
RRRRRRRRR
RRRRRRRRR
RRRRRRRRR
.RRRRRRR.
..RR.RR..
""")

motif("star9", """
....Y....
....Y....
...YYY...
YYYYYYYYY
.YYYYYYY.
..YYYYY..
..YYYYY..
.YYY.YYY.
.YY...YY.
""")

motif("umbrella9", """
....P....
..PPPPP..
.PPPPPPP.
PPPPPPPPP
P.P.P.P.P
....P....
....P....
....P.P..
.....P...
""")

motif("car12", """
....RRRRR...
...RR.R.RR..
..RR..R..RR.
RRRRRRRRRRRR
RRRRRRRRRRRR
RR..RRRR..RR
..RR....RR..
""")

motif("cactus9", """
....G....
...GGG...
...GGG.GG
GG.GGG.GG
GG.GGGGGG
GGGGGG...
...GGG...
.GGGGGGG.
..GGGGG..
..GGGGG..
""")

motif("cat9", """
C...C....
CC.CC....
CCCCC....
C.C.C....
CCCCC...C
.CCC....C
.CCCC...C
CCCCCC..C
CCCCCCCCC
CCCCCCCC.
""")

motif("mushroom10", """
...RRRR...
.RRRRRRRR.
RR..RRRRRR
RR..RR..RR
RRRRRR..RR
RRRRRRRRRR
...R..R...
...R..R...
...RRRR...
""")

motif("teapot12", """
.....B......
....BBB.....
..BBBBBBB...
B.BBBBBBB.BB
BBBBBBBBBB.B
.BBBBBBBBB.B
..BBBBBBBBB.
...BBBBBBB..
""")

motif("whale12", """
...........T
..........TT
..TTTTT..TT.
.TTTTTTTTTT.
TT.TTTTTTT..
TTTTTTTTTT..
.TTTTTTTT...
..TTTTT.....
""")

motif("bat11", """
C.........C
CC..C.C..CC
CCC.CCC.CCC
CCCCCCCCCCC
CCCCCCCCCCC
CCC.CCC.CCC
C.C..C..C.C
""")

motif("castle11", """
A.A.....A.A
AAA.....AAA
AAA.A.A.AAA
AAAAAAAAAAA
AAA.AAA.AAA
AAAAAAAAAAA
AAAA...AAAA
AAAA...AAAA
AAAA...AAAA
""")

motif("plane11", """
.....S.....
....SSS....
....SSS....
.SSSSSSSSS.
SSSSSSSSSSS
....SSS....
....SSS....
...SSSSS...
....S.S....
""")

motif("elephant13", """
...AAA.......
..AAAAAAAAAA.
.AA.AAAAAAAAA
.AAAAAAAAAAAA
AAAAAAAAAAAAA
A..AAAAAAAAA.
A..AA...AA...
A..AA...AA...
""")

# --- Two colours. ---

motif("mouse11", """
.AAA...AAA.
AAKAA.AAKAA
AKKKAAAKKKA
.AAAAAAAAA.
..A.AAA.A..
..AAAAAAA..
...AAKAA...
....AAA....
""")

motif("acorn9", """
....W....
...WW....
.WWWWWWW.
WWWWWWWWW
WWWWWWWWW
.DDDDDDD.
.DDDDDDD.
..DDDDD..
...DDD...
....D....
""")

motif("ladybug10", """
....CC....
...CCCC...
.RRRCCRRR.
RRCRRCRRRR
RCCRRCRCCR
RRRRRCRRRR
RRCRRCRRCR
.RRRRCRRR.
..RRRCRR..
""")

motif("strawberry9", """
..G.G.G..
...GGG...
.RRGGGRR.
RRRRRRRRR
RR.RRR.RR
RRRRRRRRR
.RRR.RRR.
.RRRRRRR.
..RRRRR..
...RRR...
""")

motif("balloon8", """
..RRRR..
.RRRRRR.
RR.RRRRR
R.RRRRRR
RRRRRRRR
RRRRRRRR
.RRRRRR.
..RRRR..
...RR...
....A...
...A....
....A...
""")

motif("frog12", """
.GGG....GGG.
GGCGG..GGCGG
GGGGGGGGGGGG
.GGGGGGGGGG.
GCGGGGGGGGCG
GGCCCCCCCCGG
.GGGGGGGGGG.
..GGGGGGGG..
""")

motif("carrot10", """
.GG.G.GG.
..GGGGG..
...GGG...
..OOOOO..
..OOOOO..
..O.OOO..
..OOOOO..
...OOO...
...OO.O..
...OOO...
....O....
""")

motif("sailboat10", """
....W.....
....WE....
....WEE...
...EWEEE..
..EEWEEEE.
.EEEWEEEEE
....W.....
WWWWWWWWWW
.WWWWWWWW.
..WWWWWW..
""")

motif("cherries11", """
........FF.
......FFF..
.....FF.F..
....FF..F..
...FF...F..
.RRR...RRR.
RRRRR.RRRRR
RRRRR.RRRRR
RRRRR.RRRRR
.RRR...RRR.
""")

motif("cupcake10", """
.....K....
....KK....
..KKKKKK..
.KKKKKKKK.
KKKKKKKKKK
KKKKKKKKKK
.WWWWWWWW.
.WW.WW.WW.
.WW.WW.WW.
..W.WW.W..
..WWWWWW..
""")

motif("octopus11", """
...PPPPP...
..PPPPPPP..
.PPPPPPPPP.
.PPEPPPEPP.
.PPEPPPEPP.
.PPPPPPPPP.
..PPPPPPP..
.PP.P.P.PP.
P.P.P.P.P.P
P..P..P..P.
""")

motif("pumpkin11", """
.....F.....
....FF.....
..OOOOOOO..
.OOOOOOOOO.
OO..OOO..OO
OOOOOOOOOOO
OO.O.O.O.OO
OOO.O.O.OOO
.OOOOOOOOO.
..OOOOOOO..
""")

motif("tulip9", """
RR..R..RR
RR.RRR.RR
RRRRRRRRR
RRRRRRRRR
RRRRRRRRR
.RRRRRRR.
..RRRRR..
....G....
....G..G.
.G..G.GG.
.GG.GGG..
..GGG....
....G....
""")

motif("icecream10", """
...KKKK...
..KKKKKK..
.KKKKKKKK.
.KKKKKKKK.
KKKKKKKKKK
.DDDDDDDD.
.DD.DD.DD.
..DDDDDD..
..D.DD.D..
...DDDD...
...DDDD...
....DD....
""")

motif("pear10", """
....W.....
....W.....
....YY....
...YYYY...
...YYYY...
..YYYYYY..
.YYYYYYYY.
YYYYYYYYYY
YYYYYYYYYY
YYYYYYYYYY
.YYYYYYYY.
..YYYYYY..
""")

motif("turtle15", """
.....FFFFF.....
...FFGGFGGFF...
..FGGGFFFGGGF..
.FGGFFGGGFFGF.G
FFFFFFFFFFFFFGG
.FFFFFFFFFFFFGG
..GG......GG...
..GG......GG...
""")

motif("panda12", """
.CC......CC.
CCCEEEEEECCC
.CEEEEEEEEC.
.EEEEEEEEEE.
EECCEEEECCEE
ECCECEECECCE
EECCEEEECCEE
EEEEECCEEEEE
EEEEECCEEEEE
.EEEEEEEEEE.
..EEEEEEEE..
""")

# --- Three colours. ---

motif("watermelon14", """
RRRRRRRRRRRRRR
RRRCRRRRRRCRRR
GRRRRRRCRRRRRG
GGRRCRRRRRCRGG
.GGRRRRRRRRGG.
..GGGRRRRGGG..
....GGGGGG....
""")

motif("penguin9", """
...CCC...
..CCCCC..
..CECEC..
..CEEEC..
..CCOCC..
.CCEEECC.
CCCEEECCC
C.CEEEC.C
..CEEEC..
..CEEEC..
...CCC...
..OO.OO..
""")

motif("snowman9", """
...CCC...
...CCC...
..CCCCC..
..EEEEE..
..ECECE..
..EEOOE..
...EEE...
..EEEEE..
.EEECEEE.
.EEEEEEE.
.EEECEEE.
..EEEEE..
""")

motif("bee14", """
....SSS..SSS..
...SSSSSSSSSS.
...SSSSSSSSSS.
....SSS..SSS..
..YYCCYYCCYCC.
.YYYCCYYCCYCCC
CYYYCCYYCCYC.C
.YYYCCYYCCYCCC
..YYCCYYCCYCC.
""")

motif("clownfish14", """
.....OO.......
...OOEOOOE..OO
..OOOEOOOEOOOO
.OCOOEOOOEOOEO
OOOOOEOOOEOOOO
.OOOOEOOOEOOEO
..OOOEOOOEOOOO
...OOEOOOE..OO
.....OO.......
""")

motif("lighthouse9", """
....R....
...RRR...
YY.YYY.YY
...YYY...
..RRRRR..
...EEE...
...EEE...
...RRR...
...RRR...
..EEEEE..
..EEEEE..
..RRRRR..
..RRRRR..
.RRRRRRR.
""")

motif("cake13", """
...R..R..R...
...R..R..R...
.EEEEEEEEEEE.
.EKEEKEEKEEE.
.KKKKKKKKKKK.
.KKKKKKKKKKK.
.EEEEEEEEEEE.
.KKKKKKKKKKK.
.KKKKKKKKKKK.
EEEEEEEEEEEEE
""")

motif("crab13", """
.RR.......RR.
RRRR.....RRRR
RR.R.C.C.R.RR
.RRR.E.E.RRR.
...RRRRRRR...
.RRRRRRRRRRR.
RRRRRRRRRRRRR
..RRRRRRRRR..
.RR.R...R.RR.
RR..R...R..RR
""")

motif("dog13", """
..WWW...WWW..
.WWWDDDDDWWW.
.WWDDDDDDDWW.
WWWDCDDDCDWWW
WWWDDDDDDDWWW
WW.DDDDDDD.WW
WW.DDCCCDD.WW
...DDDCDDD...
...DDCDCDD...
....DDDDD....
""")

motif("cactuspot11", """
....KKK....
....GGG....
...GGGGG...
...GGGGG.GG
GG.GGGGG.GG
GG.GGGGG.GG
GGGGGGGGGGG
...GGGGG...
...GGGGG...
.OOOOOOOOO.
..OOOOOOO..
..OOOOOOO..
...OOOOO...
""")

motif("cottage13", """
.....RR...WW.
....RRRR..WW.
...RRRRRRRWW.
..RRRRRRRRRR.
.RRRRRRRRRRRR
RRRRRRRRRRRRR
.DDDDDDDDDDD.
.DWWDDDDDWWD.
.DWWDDWWDWWD.
.DDDDDWWDDDD.
.DDDDDWWDDDD.
""")

motif("grapes12", """
.....W......
.....W..GGG.
.....W.GGGGG
..PP.PP..GG.
.PPPPPPPP...
..PP.PP.PP..
.PPPPPPPPP..
..PPPP.PP...
...PPPPPP...
...PP.PP....
....PPPP....
.....PP.....
""")

motif("ufo17", """
......SSSSS......
.....SSGGGSS.....
....SSG.G.GSS....
....SSGGGGGSS....
..AAAAAAAAAAAAA..
AAAGAAAGAAAGAAAGA
.AAAAAAAAAAAAAAA.
...AAAAAAAAAAA...
....G..G..G..G...
""")

motif("airballoon11", """
...RYYYR...
..RRYYYRR..
.RRRYYYRRR.
RRRRYYYRRRR
RRRRYYYRRRR
RRRRYYYRRRR
.RRRYYYRRR.
..RRYYYRR..
...RRYRR...
....W.W....
....W.W....
...WWWWW...
...WWWWW...
....WWW....
""")

motif("owl11", """
.W.......W.
.WW.....WW.
.WWWWWWWWW.
WWYYYWYYYWW
WYY.YWY.YYW
WWYYYWYYYWW
WWWWWDWWWWW
WWWDDDDDWWW
WWDD.D.DDWW
WWDDDDDDDWW
WWDD.D.DDWW
.WWDDDDDWW.
..WWWWWWW..
...D...D...
""")

motif("robot11", """
.....R.....
.....A.....
..AAAAAAA..
..ASSASSA..
..AAAAAAA..
..AARRRAA..
...AAAAA...
.AAAAAAAAA.
A.ASSSSSA.A
A.ASRRRSA.A
A.ASSSSSA.A
..AAAAAAA..
..AA...AA..
..AA...AA..
""")

motif("fox13", """
O...........O
OO.........OO
OOO.......OOO
OOOOOOOOOOOOO
OOOOOOOOOOOOO
OOCOOOOOOOCOO
EOOOOOOOOOOOE
EEEOOOOOOOEEE
.EEEEOOOEEEE.
..EEEEEEEEE..
...EEECEEE...
....EEEEE....
""")

motif("camera16", """
...AAAA.........
..AAAAAA.....AA.
CCCCCCCCCCCCCCCC
CCCCCAAAAAACCCCC
CCCCAASSSSAACCCC
CCCAASSCCSSAACCC
CCCAASSCCSSAACCC
CCCCAASSSSAACCCC
CCCCCAAAAAACCCCC
CCCCCCCCCCCCCCCC
""")

motif("hedgehog18", """
....W.W.W.W.......
..W.WWWWWWWWW.....
.WWWWWWWWWWWWW....
WWWWWWWWWWWWWDD...
.WWWWWWWWWWWDDDD..
WWWWWWWWWWWDDCDDD.
.WWWWWWWWWWDDDDDDC
..WWWWWWWWWDDDDD..
...DD....DD.......
""")

motif("burger15", """
....DDDDDDD....
..DDD.DDDD.DD..
.DD.DDDD.DDDDD.
DDDDDDDDDDDDDDD
GGGGGGGGGGGGGGG
.G.GG.GGG.GG.G.
WWWWWWWWWWWWWWW
WWWWWWWWWWWWWWW
.WWWWWWWWWWWWW.
DDDDDDDDDDDDDDD
.DDDDDDDDDDDDD.
""")

motif("piggy15", """
.KK.........KK.
.KKK.......KKK.
.KKKKKKKKKKKKK.
KKKKKKKKKKKKKKK
KKKCKKKKKKKCKKK
KKKKKKKKKKKKKKK
KKKKKRRRRRKKKKK
KKKKRRCRCRRKKKK
KKKKKRRRRRKKKKK
.KKKKKKKKKKKKK.
..KKKKKKKKKKK..
""")

motif("pineapple11", """
....G.G....
..G.GGG.G..
...GGGGG...
..GGGGGGG..
....GGG....
...YYYYY...
..YOYYYOY..
.YYYOYOYYY.
.YYYYOYYYY.
.YYYOYOYYY.
.YYOYYYOYY.
.YOYYYYYOY.
.YYOYYYOYY.
..YYOYOYY..
...YYOYY...
""")

motif("rocket11", """
.....R.....
....RRR....
...RRRRR...
...EEEEE...
..EEESEEE..
..EESSSEE..
..EEESEEE..
..EEEEEEE..
..EEEEEEE..
.REEEEEEER.
RREEEEEEERR
RRREEEEERRR
RR.EEEEE.RR
....RRR....
....R.R....
""")

motif("chest16", """
..WWWWWWWWWWWW..
.WYWWWWWWWWWWYW.
WWYWWWWWWWWWWYWW
WWYWWWWWWWWWWYWW
YYYYYYYYYYYYYYYY
WWYWWWWYYWWWWYWW
WWYWWWYCCYWWWYWW
WWYWWWWYYWWWWYWW
WWYWWWWWWWWWWYWW
WWYWWWWWWWWWWYWW
YYYYYYYYYYYYYYYY
""")

motif("bird15", """
.....BBB.......
....BBBBB......
....B.BBBOO....
....BBBBBO.....
.....OOBBB.....
....OOOOBBB....
....OOOOBBBB...
.....OOOBBBBB..
......OOBBBBBB.
.......BBB..BBB
WWWWWWWOWOWWWWW
...WW..........
""")

motif("bus20", """
..YYYYYYYYYYYYYYYYY.
.YYYYYYYYYYYYYYYYYYY
.YSSSYSSSYSSSYSSYSSY
.YSSSYSSSYSSSYSSYSSY
YYYYYYYYYYYYYYYYYSSY
YYYYYYYYYYYYYYYYYSSY
CYYYYYYYYYYYYYYYYYYY
YYYYCCCYYYYYYYCCCYYC
....CCC.......CCC...
""")

motif("donut15", """
....KKKKKKK....
..KKKKBBKKKKK..
.KKBKKKKKKKBKK.
KKKBKKKKBBKKKKK
KKKKKK...KKKBKK
KKKKK.....KKBKK
DKKBK.....KKKKD
DDKBKK...KKKKDD
DDDKKKKBBKKKDDD
.DDDDKKKKKDDDD.
..DDDDDDDDDDD..
....DDDDDDD....
""")

motif("guitar20", """
.OOO....OOO.........
OOOOO..OOOOO........
OOOOOOOOOOOOO.......
OOOOOOOCCCOOO.....WW
OOWOOOCCCCCOOWWWWWWW
OOOOOOOCCCOOO.....WW
OOOOOOOOOOOOO.......
OOOOO..OOOOO........
.OOO....OOO.........
""")

motif("teddy15", """
.WWW.......WWW.
WWDWWWWWWWWWDWW
WDDWWWWWWWWWDDW
.WWWWWWWWWWWWW.
.WWWCWWWWWCWWW.
.WWWWWWWWWWWWW.
.WWWWDDDDDWWWW.
.WWWDDDCDDDWWW.
.WWWDDDCDDDWWW.
..WWDDCDCDDWW..
...WWDDDDDWW...
....WWWWWWW....
""")

motif("trophy13", """
.YYYYYYYYYYY.
YY.YYYYYYY.YY
Y..YYYYYYY..Y
Y..YYYYYYY..Y
YY.YYYYYYY.YY
.YYYYYYYYYYY.
...YYYYYYY...
....YYYYY....
.....YYY.....
......Y......
.....YYY.....
...WWWWWWW...
...WOOOOOW...
...WWWWWWW...
""")

motif("castle17", """
...R.........R...
..RRR.......RRR..
.RRRRR.....RRRRR.
.AAAAA.....AAAAA.
.AAWAA.A.A.AAWAA.
.AAWAAAAAAAAAWAA.
.AAAAAAAAAAAAAAA.
.AAAAAAWWWAAAAAA.
.AAAAAWWWWWAAAAA.
.AAAAAWWWWWAAAAA.
AAAAAAWWWWWAAAAAA
""")

motif("sheep16", """
.....EE.EE......
...EEEEEEEEEE...
..EEEEEEEEEEEE..
.EEEEEEEEEEEEEE.
CCEEEEEEEEEEEEEE
C.CEEEEEEEEEEEEE
CCCEEEEEEEEEEEE.
.CCEEEEEEEEEEEE.
...EEEEEEEEEEE..
....C.C...C.C...
....C.C...C.C...
GGGGGGGGGGGGGGGG
""")

motif("giraffe13", """
...C.C.......
...YYYY......
..YYCYY......
YYYYYYY......
...YYW.......
...YWW.......
...YYY.......
...WWY.......
...YYYYWWYYY.
...YYYYWWYYYY
...YWWYYYYWW.
...YWWYYYYWY.
...YYYYYYYYY.
...Y.Y...Y.Y.
...C.C...C.C.
""")

motif("kite13", """
......B......
....RRBYY....
..RRRRBYYYY..
BBBBBBBBBBBBB
.YYYYYBRRRRR.
..YYYYBRRRR..
..YYYYBRRRR..
...YYYBRRR...
...YYYBRRR...
....YYBRR....
....YYBRR....
.....YBR.....
......B......
.....B.......
......B......
""")

motif("umbrella15", """
.......W.......
....RREEERR....
..RRRREEERRRR..
.RRRRREEERRRRR.
RRRRRREEERRRRRR
R.RRR.EEE.RRR.R
.......W.......
.......W.......
.......W.......
.......W.......
.......W.......
.....W.W.......
.....WWW.......
""")

motif("mushhouse14", """
.....RRRR.....
...RRRRRRRR...
..RREERRRRRR..
.RRREERRRREERR
RRRRRRRRRREERR
RRREERRRRRRRRR
RRRRRRRERRRRRR
..EEEEEEEEEE..
..EEWWEEEEEE..
..EEWWEEEWWE..
..EEEEEEEWWE..
..EEEEEEEWWE..
..EEEEEEEWWE..
WWWWWWWWWWWWWW
""")

motif("submarine20", """
........YY..........
.........Y..........
.........Y..........
.......YYYYYY.......
.......YYYYYY.......
..YYYYYYYYYYYYYYYY..
.YYYSSYYSSYYSSYYYYYO
YYYYSSYYSSYYSSYYYYOO
.YYYYYYYYYYYYYYYYYYO
..YYYYYYYYYYYYYYYY..
""")

motif("gingercat15", """
.O...........O.
.OO.........OO.
.OEO.......OEO.
.OEEOOOOOOOEEO.
.OOOOCOCOCOOOO.
OOOOOOOOOOOOOOO
OOCCCOOOOOCCCOO
OOCECOOOOOCECOO
OOOOOOOOOOOOOOO
OOOOOOOCOOOOOOO
EEEOOOCCCOOOEEE
.EEEEEEOEEEEEE.
..EEEEEEEEEEE..
....EEEEEEE....
""")

motif("lion15", """
...OOOOOOOOO...
..OOOOOOOOOOO..
.OOOOYYYYYOOOO.
.OOOYYYYYYYOOO.
OOOYYYYYYYYYOOO
OOOYWYYYYYWYOOO
OOOYYYYYYYYYOOO
OOOYYYYWYYYYOOO
OOOYYYWWWYYYOOO
OOOYYYYWYYYYOOO
.OOOYYWYWYYOOO.
.OOOOYYYYYOOOO.
..OOOOOOOOOOO..
...OOOOOOOOO...
""")

motif("tropical18", """
......YYY.........
.....YYYY.........
...BBBBBBBBB...YY.
..BBBYBBBYBBB.YYY.
.BBBBYBBBYBBBBYYY.
BBCBBYBBBYBBBBYYYY
BBBBBYBBBYBBBBYYY.
.BBBBYBBBYBBBBYYY.
..BBBYBBBYBBB.YYY.
...BBBBBBBBB...YY.
.....YYYY.........
......YY..........
""")

motif("whale20", """
......S.S...........
.......S............
......SSS...........
...BBBBBBBBB........
.BBBBBBBBBBBBB....BB
BBBBBBBBBBBBBBB..BBB
BB.BBBBBBBBBBBBBBBB.
BBBBBBBBBBBBBBBBBB..
EEEEEEEBBBBBBBBB....
.EEEEEEEEBBBBB......
..EEEEEE............
""")

motif("butterfly17", """
.PPP..CC.CC..PPP.
PPPPP...C...PPPPP
PPOOPP..C..PPOOPP
PPOOPPP.C.PPPOOPP
PPPPPPPPCPPPPPPPP
.PPPPPPPCPPPPPPP.
..PPPPPPCPPPPPP..
...PPPPPCPPPPP...
..PPPPPPCPPPPPP..
.PPOOPPPCPPPOOPP.
.PPOOPP.C.PPOOPP.
..PPPP.....PPPP..
...PP.......PP...
""")

motif("appletree15", """
.....GGGGG.....
...GGGGGGGGG...
..GGGRGGGGGGG..
.GGGGGGGGGRGGG.
.GGRGGGGGGGGGG.
GGGGGGGRGGGGGGG
GGGGGGGGGGGGRGG
.GGRGGGGGGGGGG.
.GGGGGGRGGGGGG.
..GGGGGGGGGGG..
....GGWWWGG....
......WWW......
......WWW......
......WWW......
....WWWWWWW....
""")

motif("pizza15", """
OOOOOOOOOOOOOOO
OOOOOOOOOOOOOOO
.YYYYYYYYYYYYY.
.YRRYYYYYYRRYY.
..RRYYYYYYRRY..
..YYYYRRYYYYY..
...YYYRRYYYY...
...YYYYYYYYY...
....YRRYYYY....
....YRRYYY.....
.....YYYYY.....
.....YYYY......
......YYY......
......YY.......
.......Y.......
""")

motif("xmastree15", """
.......Y.......
......YYY......
.......F.......
......FFF......
.....FFYFF.....
....FFFFFFF....
.....FFFFF.....
....FFFFYFF....
...FYFFFFFFF...
..FFFFFFFFYFF..
....FFFFFFF....
...FFYFFFFFFF..
..FFFFFFFYFFFF.
.FFFYFFFFFFFFFF
......WWW......
""")

motif("tractor18", """
.C......CCCCCC....
.C......C....C....
.C......C....C....
.C......C....C....
RRRRRRRRRRRRRRR...
RRRRRRRRRRRRRRRR..
RRRRRRRRRRRRRRRRR.
..CCC....CCCCCC...
.CCYCC..CCCCCCCC..
.CYYYC..CCCYYCCC..
.CCYCC..CCYYYYCC..
..CCC...CCCYYCCC..
.........CCCCCC...
""")

motif("train20", """
..CCCC..............
...CC.........CCCCCC
...CC..........RRRR.
...CC..........RYYR.
.RRRRRRRRRR....RYYR.
YRRRRRRRRRRRRRRRRRRR
RRRRRRRRRRRRRRRRRRRR
RRRYYRRRRRRRRRRRRRRR
CCCCCCCCCCCCCCCCCCCC
..CCC....CCC...CCC..
.CC.CC..CC.CC.CC.CC.
..CCC....CCC...CCC..
""")

motif("housegarden20", """
...............GGG..
......RR......GGGGG.
.....RRRR....GGGGGGG
....RRRRRR...GGGGGGG
...RRRRRRRR..GGGGGGG
..RRRRRRRRRR..GGGGG.
.RRRRRRRRRRRR..GGG..
...EEEEEEEEE....G...
...EE.EEE.EE....G...
...EE.EEE.EE....G...
...EEEERREEE....G...
...EEEERREEE....G...
...EEEERREEE....G...
GGGGGGGGGGGGGGGGGGGG
""")

motif("pirateship20", """
.....C.......C......
.....CC......CC.....
.....W.......W......
...EEEEE...EEEEEEE..
...EEEEE...EEEEEEE..
..EEEEEEE.EEEEEEEEE.
..EEEEEEE.EEEEEEEEE.
...EEEEE...EEEEEEE..
.....W.......W......
WW...W.......W....WW
WWWWWWWWWWWWWWWWWWWW
.WWWEWWWEWWWEWWWEWW.
..WWWWWWWWWWWWWWWW..
...WWWWWWWWWWWWWW...
""")

motif("aquarium20", """
SSSSSSSSSSSSSSSS.SSS
SSSSSSSSSSSSSSS.SSSS
SSSOOOSSSSSSSSSS.SSS
SSOOOOOSSOSSSSSSSSSS
SO.OOOOOOOSSSSSSSSSS
SSOOOOOSSOSSSSSSSSSS
SSSOOOSSSSSSSSSSSSSS
SSSSSSSSSSSSSSOOOSSS
SSSSSSSSSSOSSOOOOOSS
SSSSSSSSSSOOOOOOO.OS
SSGSSSSSSSOSSOOOOOSS
SSGGSSGSSSSSSSOOOSSS
SGGSSSGGSSSSSSSSSGSS
SSGGSGGSSSSSSSSSGGSS
SGGGSSGGSSSSSSSGGGGS
""")

motif("city20", """
...............YYY..
..............YY....
..CCCC........YY....
..CYYC.........YYY..
..CCCC...CCC........
..CYYC...CYC...CCCC.
..CCCC...CCC...CYYC.
CCCYYC...CYC...CCCC.
CYCCCC.CCCCCCC.CYYC.
CCCYYC.CYCYCYC.CCCCC
CYCCCC.CCCCCCC.CYYCC
CCCYYC.CYCYCYC.CCCCC
CYCCCCCCCCCCCCCCYYCC
CCCCCCCCCCCCCCCCCCCC
AAAAAAAAAAAAAAAAAAAA
""")

motif("dinosaur20", """
...............GGG..
..............GGGGG.
..............G.GGGG
..............GGG...
..............GGG...
.............GGG....
.....FFFF....GGG....
...FFGGGGFF.GGG.....
..FGGGGGGGGFGGG.....
.GGGGGGGGGGGGGG.....
GGYYYYYYYYYYGG......
G.GGYYYYYYYGG.......
..GGG...GGG.........
..GGG...GGG.........
FFFFFFFFFFFFFFFFFFFF
""")

motif("night20", """
NNNNNNNNNNNNNNNNNNNN
NNNYNNNNNNNNNNNYYYNN
NNYYYNNNNNNNNNNNYYYN
NNNYNNNNNNYNNNNNNYYY
NNNNNNNNNNNNNNNNNYYY
NNNNNNNNNNNNNNNNNYYY
NNNNNNYNNNNNNNNNYYYN
NNNNNYYYNNNNNNNYYYNN
NNNNNNYNNNNNNNNNNNNN
NYNNNNNNNNNNYNNNNNNN
NNNNNNNNNNNNNNNNNNNN
NNNNEEENNNNNNNNEEENN
NNEEEEEEENNNNEEEEEEE
EEEEEEEEEEEEEEEEEEEE
EEEEEEEEEEEEEEEEEEEE
""")

motif("owlnight20", """
NNNNNNNNNNNNNNNNNNNN
NNNNNNNNNNNNNNYYYNNN
NNNNNNNNNNNNNYYNNNNN
NNNNWNNNNNWNNYYNNNNN
NNNNWWWWWWWNNYYNNNNN
NNNWWWWWWWWWNNYYYNNN
NNNWYYYWYYYWNNNNNNNN
NNNWYNYWYNYWNNNNNNNN
NNNWYYYWYYYWNNNNNNNN
NNNWWWWYWWWWNNNNNNNN
NNNWWWWWWWWWNNNNNNNN
NNNNWWWWWWWNNNNNNNNN
NNNNNYNNNYNNNNNNNNNN
WWWWWWWWWWWWWWWWWWWW
NNNNNNNNNNNNNNNWWNNN
""")

motif("sailboat20", """
.........R..........
.........RR.........
........ER.E........
.......EER.EE.......
......EEER.EEE......
.....EEEER.EEEE.....
....EEEEER.EEEEE....
...EEEEEER.EEEEEE...
..EEEEEEER.EEEEEEE..
.........R..........
..RRRRRRRRRRRRRRRR..
...RRRRRRRRRRRRRR...
....RRRRRRRRRRRR....
BB.BBBB.BBBB.BBB.BBB
BBBBBBBBBBBBBBBBBBBB
""")

motif("volcano20", """
.........R..........
.......R.R.R........
........RRR.........
........ARA.........
.......AARAA........
......AAARAAA.......
.....AAAAARAAA......
....AAAAAAARAAA.....
...AAAAAAAARAAAA....
..AAAAAAAAAAAAAAA...
.AAAAAAAAAAAAAAAAA..
BBBBBBBBBBBBBBBBBBBB
B.BBBB.BBBBB.BBBB.BB
BBBBBBBBBBBBBBBBBBBB
BBB.BBBBB.BBBBB.BBBB
""")


# ---------------------------------------------------------------------------------------
# The hundred levels in play order: from small one-colour grids to the largest boards.
# ---------------------------------------------------------------------------------------
LEVELS = [
    "heart5", "house5", "tree5", "fish5", "bell5", "boat5", "arrow5", "crown9", "key10",
    "ghost10", "rocket7", "bulb8", "bunny8", "anchor9", "apple9", "star9", "umbrella9",
    "car12", "cactus9", "cat9", "mushroom10", "teapot12", "whale12", "bat11",
    "castle11", "plane11", "elephant13", "mouse11", "acorn9", "ladybug10", "strawberry9",
    "balloon8", "frog12", "carrot10", "sailboat10", "cherries11", "cupcake10", "octopus11",
    "pumpkin11", "tulip9", "icecream10", "pear10", "turtle15", "panda12", "watermelon14",
    "penguin9", "snowman9", "bee14", "clownfish14", "lighthouse9", "cake13", "crab13",
    "dog13", "cactuspot11", "cottage13", "grapes12", "ufo17", "airballoon11", "owl11",
    "robot11", "fox13", "camera16", "hedgehog18", "burger15", "piggy15", "pineapple11",
    "rocket11", "chest16", "bird15", "bus20", "donut15", "guitar20", "teddy15", "trophy13",
    "castle17", "sheep16", "giraffe13", "kite13", "umbrella15", "mushhouse14",
    "submarine20", "gingercat15", "lion15", "tropical18", "whale20", "butterfly17",
    "appletree15", "pizza15", "xmastree15", "tractor18", "train20", "housegarden20",
    "pirateship20", "aquarium20", "city20", "dinosaur20", "night20", "owlnight20",
    "sailboat20", "volcano20",
]


# ---------------------------------------------------------------------------------------
# Line solver for colour clues: every row and column has, per colour, the lengths of that
# colour's runs in order. Runs of one colour need a gap between them; a cell of another
# colour is such a gap, so runs of different colours may touch.
# ---------------------------------------------------------------------------------------

def runs_of(line, colour):
    out, n = [], 0
    for v in line:
        if v == colour:
            n += 1
        elif n:
            out.append(n)
            n = 0
    if n:
        out.append(n)
    return out


def solve_line(runs, can_on, can_off):
    """Which cells of one line can hold the colour (on) and which can hold anything else
    (off), over every placement of the runs that agrees with what is known."""
    n, m = len(can_on), len(runs)
    blocked = [0]
    for i in range(n):
        blocked.append(blocked[-1] + (0 if can_on[i] else 1))

    def fits(s, r):
        return blocked[s + r] == blocked[s]

    # fwd[j][i]: the first j runs fit in cells [0, i); bwd[j][i]: runs j.. fit in [i, n).
    fwd = [[False] * (n + 1) for _ in range(m + 1)]
    fwd[0][0] = True
    for i in range(1, n + 1):
        fwd[0][i] = fwd[0][i - 1] and can_off[i - 1]
    for j in range(1, m + 1):
        r = runs[j - 1]
        for i in range(1, n + 1):
            ok = fwd[j][i - 1] and can_off[i - 1]
            s = i - r
            if not ok and s >= 0 and fits(s, r):
                ok = (j == 1) if s == 0 else (can_off[s - 1] and fwd[j - 1][s - 1])
            fwd[j][i] = ok
    bwd = [[False] * (n + 1) for _ in range(m + 1)]
    bwd[m][n] = True
    for i in range(n - 1, -1, -1):
        bwd[m][i] = bwd[m][i + 1] and can_off[i]
    for j in range(m - 1, -1, -1):
        r = runs[j]
        for i in range(n - 1, -1, -1):
            ok = bwd[j][i + 1] and can_off[i]
            e = i + r
            if not ok and e <= n and fits(i, r):
                ok = (j == m - 1) if e == n else (can_off[e] and bwd[j + 1][e + 1])
            bwd[j][i] = ok
    off = [can_off[p] and any(fwd[j][p] and bwd[j][p + 1] for j in range(m + 1))
           for p in range(n)]
    cover = [0] * (n + 1)
    for j, r in enumerate(runs):
        for s in range(n - r + 1):
            e = s + r
            if not fits(s, r):
                continue
            left = (j == 0) if s == 0 else (can_off[s - 1] and fwd[j][s - 1])
            right = (j == m - 1) if e == n else (can_off[e] and bwd[j + 1][e + 1])
            if left and right:
                cover[s] += 1
                cover[e] -= 1
    on, acc = [], 0
    for p in range(n):
        acc += cover[p]
        on.append(acc > 0)
    return on, off


def line_solve(cols, rows, colours, grid):
    """Solves from the clues of `grid` (rows of colour indices 0..colours) by line logic.
    Returns the known cells: a colour index, or None where line logic cannot decide."""
    full = (1 << (colours + 1)) - 1
    dom = [[full] * cols for _ in range(rows)]
    lines = [("r", y) for y in range(rows)] + [("c", x) for x in range(cols)]
    clues = {}
    for kind, i in lines:
        vals = grid[i] if kind == "r" else [grid[y][i] for y in range(rows)]
        clues[(kind, i)] = [runs_of(vals, c) for c in range(1, colours + 1)]
    pending, queued = list(lines), set(lines)
    while pending:
        kind, i = pending.pop(0)
        queued.discard((kind, i))
        cells = [(i, x) for x in range(cols)] if kind == "r" else [(y, i) for y in range(rows)]
        changed = True
        while changed:  # what one colour learns may help another colour of the same line
            changed = False
            for c in range(1, colours + 1):
                bit = 1 << c
                can_on = [bool(dom[y][x] & bit) for y, x in cells]
                can_off = [dom[y][x] != bit for y, x in cells]
                on, off = solve_line(clues[(kind, i)][c - 1], can_on, can_off)
                for k, (y, x) in enumerate(cells):
                    d = dom[y][x]
                    if not on[k]:
                        d &= ~bit
                    if not off[k]:
                        d &= bit
                    if d == 0:
                        raise ValueError("clues contradict each other")
                    if d != dom[y][x]:
                        dom[y][x] = d
                        changed = True
                        cross = ("c", x) if kind == "r" else ("r", y)
                        if cross not in queued:
                            queued.add(cross)
                            pending.append(cross)
    return [[(d.bit_length() - 1) if d & (d - 1) == 0 else None for d in row] for row in dom]


# ---------------------------------------------------------------------------------------
# Building and checking the levels.
# ---------------------------------------------------------------------------------------

DARK_CHANNEL, MIN_CONTRAST = 75, 3.0
# The clue backs at full strength (tools/make_playfield_images.py): the dark one over the
# lightest ground there could be (white), the light one over the darkest (black).
DARK_BACK, LIGHT_BACK = ((30, 18, 25), 0.95), ((255, 248, 236), 0.88)


def relative_luminance(rgb):
    """The luminance of an sRGB colour (0 to 255 a channel), as WCAG defines it."""
    def linear(c):
        c /= 255.0
        return c / 12.92 if c <= 0.04045 else ((c + 0.055) / 1.055) ** 2.4
    r, g, b = (linear(c) for c in rgb)
    return 0.2126 * r + 0.7152 * g + 0.0722 * b


def contrast(a, b):
    la, lb = relative_luminance(a), relative_luminance(b)
    return (max(la, lb) + 0.05) / (min(la, lb) + 0.05)


def over(back, ground):
    (colour, alpha) = back
    return tuple(alpha * c + (1 - alpha) * g for c, g in zip(colour, ground))


def check_palette():
    dark_back, light_back = over(DARK_BACK, (255, 255, 255)), over(LIGHT_BACK, (0, 0, 0))
    for letter, name, r, g, b in PALETTE:
        too_dark = r < DARK_CHANNEL and g < DARK_CHANNEL and b < DARK_CHANNEL
        back = light_back if too_dark else dark_back
        if contrast((r, g, b), back) < MIN_CONTRAST:
            fail("colour %s does not read on its clue back (contrast %.2f, at least %.1f wanted)"
                 % (name, contrast((r, g, b), back), MIN_CONTRAST))


def fail(msg):
    sys.stderr.write("make_levels: " + msg + "\n")
    sys.exit(1)


def build_level(number, name):
    rows = MOTIFS.get(name)
    if rows is None:
        fail("level %d: no picture named %s" % (number, name))
    where = "level %d (%s)" % (number, name)
    cols = len(rows[0])
    if any(len(r) != cols for r in rows):
        fail(where + ": rows of different lengths")
    letters = []
    for r in rows:
        for ch in r:
            if ch != "." and ch not in COLOUR_ID:
                fail(where + ": unknown colour letter " + ch)
            if ch != "." and ch not in letters:
                letters.append(ch)
    if not letters or len(letters) > MAX_COLOURS:
        fail(where + ": needs one to three colours, has %d" % len(letters))
    if not (5 <= cols <= MAX_COLS and 5 <= len(rows) <= MAX_ROWS):
        fail(where + ": grid %dx%d out of range" % (cols, len(rows)))
    # Layers: the colour with the most cells first.
    count = {ch: sum(r.count(ch) for r in rows) for ch in letters}
    letters.sort(key=lambda ch: (-count[ch], COLOUR_ID[ch]))
    layer = {ch: i + 1 for i, ch in enumerate(letters)}
    grid = [[0 if ch == "." else layer[ch] for ch in r] for r in rows]
    return {"number": number, "name": name, "cols": cols, "rows": len(rows), "grid": grid,
            "ids": [COLOUR_ID[ch] for ch in letters]}


def lines_of(level):
    g, cols, rows = level["grid"], level["cols"], level["rows"]
    return [g[y] for y in range(rows)], [[g[y][x] for y in range(rows)] for x in range(cols)]


def number_width(value):
    return NUM_W1 if value < 10 else NUM_W2


def pick_size(level):
    """The largest tile size at which the clue numbers and grid fit the board area."""
    row_lines, col_lines = lines_of(level)
    ncol = len(level["ids"])
    tall = max(len(runs_of(l, c)) or 1 for l in col_lines for c in range(1, ncol + 1))
    wide = 0.0
    for l in row_lines:
        for c in range(1, ncol + 1):
            runs = runs_of(l, c)[::-1] or [0]
            # Numbers run leftwards, a one-digit number's width apart, edge to edge.
            steps = sum((number_width(a) + number_width(b)) / 2 + NUM_W1 for a, b in zip(runs, runs[1:]))
            wide = max(wide, steps + NUM_W2)
    for index in range(len(GRID_SIZES) - 1, -1, -1):
        g = GRID_SIZES[index]
        height = g * (level["rows"] + 1 + (tall - 1) * 1.4 * NUM_H + NUM_H)
        width = g * (level["cols"] + 1 + wide)
        if width <= BOARD_MAX_W and height <= BOARD_MAX_H:
            return index
    fail("level %d (%s): does not fit the screen at any size" % (level["number"], level["name"]))


def check_level(level):
    where = "level %d (%s)" % (level["number"], level["name"])
    row_lines, col_lines = lines_of(level)
    for l in row_lines + col_lines:
        for c in range(1, len(level["ids"]) + 1):
            if any(r > MAX_RUN for r in runs_of(l, c)):
                fail(where + ": a run longer than %d cells" % MAX_RUN)
    try:
        known = line_solve(level["cols"], level["rows"], len(level["ids"]), level["grid"])
    except ValueError as e:
        fail(where + ": " + str(e))
    if known != level["grid"]:
        picture = "\n".join("".join("?" if v is None else ".123"[v] for v in row) for row in known)
        fail(where + ": the clues do not lead to the picture by line logic alone:\n" + picture)


def level_text(level):
    data = [
        ("Dims", "%d, %d" % (level["cols"], level["rows"])),
        ("Size", "%d" % level["size"]),
        ("Colors", '"%s"' % " ".join(str(i) for i in level["ids"])),
        ("Position", "0, 0"),
        ("Seconds", "0"),
        ("Score", "0"),
        ("Mistakes", "0"),
        ("TilesUncovered", "0"),
        ("TilesCrossed", "0"),
    ]
    out = ["Level{", "\tData{"]
    out += ["\t\t%s = %s" % kv for kv in data]
    out += ["\t}", "\tTiles{"]
    for y, row in enumerate(level["grid"]):
        out.append("\t\tRow%d = %s" % (y, ", ".join(str(level["ids"][v - 1] if v else 0) for v in row)))
    out += ["\t}", "}"]
    return "\n".join(out) + "\n"


def mini_record(level):
    cells = [str(level["ids"][v - 1] if v else 0) for row in level["grid"] for v in row]
    return ",".join([str(level["rows"]), str(level["cols"])] + cells)


def write(path, text):
    os.makedirs(os.path.dirname(path), exist_ok=True)
    with open(path, "w", encoding="latin-1", newline="\n") as f:
        f.write(text)


def main(argv):
    data = os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "data")
    mini = None
    args = list(argv)
    while args:
        a = args.pop(0)
        if a == "--data" and args:
            data = args.pop(0)
        elif a == "--mini" and args:
            mini = args.pop(0)
        else:
            fail("usage: make_levels.py [--data DIR] [--mini FILE]")
    if len(LEVELS) != 100 or len(set(LEVELS)) != len(LEVELS):
        fail("the level list must name one hundred different pictures")
    check_palette()
    levels = [build_level(i + 1, name) for i, name in enumerate(LEVELS)]
    seen = {}
    for lv in levels:
        key = (lv["cols"], lv["rows"], tuple(tuple(lv["ids"][v - 1] if v else 0 for v in r)
                                             for r in lv["grid"]))
        if key in seen:
            fail("level %d repeats level %d" % (lv["number"], seen[key]))
        seen[key] = lv["number"]
        check_level(lv)
        lv["size"] = pick_size(lv)
    for lv in levels:
        write(os.path.join(data, "Game", "Levels", "Picross", "Level-%d.PACLevel" % lv["number"]),
              level_text(lv))
    write(os.path.join(data, "Game", "PlayField", "GridSizes.txt"),
          "".join("%d\n" % g for g in GRID_SIZES))
    write(os.path.join(data, "Game", "PlayField", "RGBS.txt"),
          "".join('%s = "%d,%d,%d,1,1"\n' % p[1:] for p in PALETTE))
    if mini:
        write(mini, "n".join(mini_record(lv) for lv in levels) + "n")
    print("make_levels: %d levels written" % len(levels))


if __name__ == "__main__":
    main(sys.argv[1:])
