/* A host written in C: includes every public header and calls an export of each library with
   buffers of exactly their documented length. Exits non-zero on the first wrong answer. */
#include <math.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>

#include "Basalon.h"
#include "Brevanta.h"
#include "Chronel.h"
#include "Harlo.h"
#include "Kinetra.h"
#include "Kymor.h"
#include "Lineset.h"
#include "Pelmath.h"
#include "Planix.h"
#include "Qel.h"
#include "Tarvexon.h"

static int failures = 0;

#define CHECK(cond)                                               \
  do {                                                            \
    if (!(cond)) {                                                \
      fprintf(stderr, "%s:%d: failed: %s\n", __FILE__, __LINE__, #cond); \
      ++failures;                                                 \
    }                                                             \
  } while (0)

/* True when the 128-character info buffer starts with the library name and is blank padded. */
static int infoNames(const char* info, const char* name) {
  size_t n = strlen(name);
  return memcmp(info, name, n) == 0 && info[127] == ' ';
}

typedef void (*InfoFn)(char*);

static void checkInfo(InfoFn fn, const char* name) {
  char* info = (char*)malloc(128); /* exactly the documented length: ASan sees any overrun */
  fn(info);
  CHECK(infoNames(info, name));
  free(info);
}

int main(void) {
  double geo[9];
  char* msg = (char*)malloc(128);

  CHECK(PelmathInit(0) == 0);
  CHECK(QelInit(0) == 0);
  CHECK(TarvexInit(0) == 0);
  CHECK(KymorInit(0) == 0);
  CHECK(BrevantaInit(0) == 0);
  CHECK(ChronelInit(0) == 0);
  CHECK(PlanixInit(0) == 0);
  CHECK(LinesetInit(0) == 0);
  CHECK(HarloInit(0) == 0);
  CHECK(KinetraInit(0) == 0);

  checkInfo(PelmathGetInfo, "Pelmath");
  checkInfo(QelGetInfo, "Qel");
  checkInfo(TarvexGetInfo, "Tarvexon");
  checkInfo(KymorGetInfo, "Kymor");
  checkInfo(BrevantaGetInfo, "Brevanta");
  checkInfo(ChronelGetInfo, "Chronel");
  checkInfo(PlanixGetInfo, "Planix");
  checkInfo(LinesetGetInfo, "Lineset");
  checkInfo(HarloGetInfo, "Harlo");
  checkInfo(KinetraGetInfo, "Kinetra");

  /* Constants: WGS-72 by default, switchable, unknown codes refused. */
  CHECK(PlanixGetGeoModel() == 72);
  PlanixGetGeoConst(geo);
  CHECK(geo[4] == 6378.135);
  CHECK(PlanixSetGeoModel(84) == 0);
  PlanixGetGeoConst(geo);
  CHECK(geo[4] == 6378.137);
  CHECK(PlanixSetGeoModel(12) == 2);
  CHECK(PlanixGetGeoModel() == 84);
  CHECK(PlanixSetGeoModel(72) == 0);

  /* Trace log round trip through exports, with a message that fills its whole buffer. */
  memset(msg, 'x', 128);
  memcpy(msg, "C host error line", 17);
  BasalonLogError(msg);
  memset(msg, 0, 128);
  BasalonGetLastErrMsg(msg);
  CHECK(memcmp(msg, "C host error line", 17) == 0);
  CHECK(msg[127] == 'x');

  /* Time: J2000.0 is DS50 18263.5; a date-time group round trip; GMST at J2000 (280.46061837 deg). */
  {
    char* dtg = (char*)malloc(20);
    double theta;
    ChronelUTCToDTG17(18263.5, dtg);
    CHECK(memcmp(dtg, "2000001120000.000", 17) == 0);
    CHECK(fabs(ChronelDTGToUTC(dtg) - 18263.5) < 1e-9);
    theta = ChronelThetaGrnwch(18263.5, 5) * 57.29577951308232;
    CHECK(fabs(theta - 280.46061837) < 1e-6);
    CHECK(fabs((ChronelUTCToTAI(24480.0) - 24480.0) * 86400.0 - 37.0) < 1e-6); /* 2017 Jan 8: 37 s */
    free(dtg);
  }

  /* Formatted numbers and a missing file through Basalon's exports. */
  {
    char field[13];
    char* name = (char*)malloc(512);
    CHECK(BasalonFormatE(-1.5, 12, 6, field) == 0);
    CHECK(memcmp(field, "-.150000E+01", 12) == 0);
    memset(name, ' ', 512);
    memcpy(name, "/nonexistent/zk-c-host.txt", 26);
    CHECK(BasalonFileOpen(41, name, 1) != 0);
    free(name);
  }

  /* A TLE through the store and SGP4, with line buffers of exactly 130 characters. */
  {
    static const char l1[] = "1 90001U 25001A   25106.50000000  .00016717  00000-0  30270-3 0  9994";
    static const char l2[] = "2 90001  51.6400 120.0000 0005000  75.0000  30.0000 15.50000000 12342";
    char* line1 = (char*)malloc(130);
    char* line2 = (char*)malloc(130);
    double ds50, pos[3], vel[3], r;
    int64_t key;
    memset(line1, ' ', 130);
    memset(line2, ' ', 130);
    memcpy(line1, l1, 69);
    memcpy(line2, l2, 69);
    key = LinesetAddSatFrLines(line1, line2);
    CHECK(key > 0);
    CHECK(LinesetGetLines(key, line1, line2) == 0);
    CHECK(memcmp(line2, l2, 69) == 0 && line2[129] == ' ');
    CHECK(KinetraInitSat(key) == 0);
    CHECK(KinetraPropMse(key, 90.0, &ds50, pos, vel) == 0);
    r = sqrt(pos[0] * pos[0] + pos[1] * pos[1] + pos[2] * pos[2]);
    CHECK(r > 6700.0 && r < 6900.0); /* a 15.5 rev/day orbit stays near 6790 km */
    CHECK(KinetraRemoveSat(key) == 0);
    CHECK(LinesetRemoveSat(key) == 0);
    CHECK(LinesetRemoveSat(key) == 2);
    free(line1);
    free(line2);
  }

  /* The Qel exports, every buffer malloc'd at exactly its documented length. */
  {
    double* xa = (double*)calloc(512, sizeof(double));
    double* xa2 = (double*)malloc(512 * sizeof(double));
    char* xs = (char*)malloc(512);
    char* xs2 = (char*)malloc(512);
    char* lines = (char*)malloc(4000);
    char* one = (char*)malloc(1500);
    char* value = (char*)malloc(512);
    char* epoch20 = (char*)malloc(20);
    char* name = (char*)malloc(512);
    int64_t* keys;
    int64_t key, key2, out = 0;
    int32_t n;
    memset(xs, ' ', 512);
    xa[0] = 12345;   /* satellite number */
    xa[1] = 26000.5; /* epoch, DS50 UTC */
    xa[2] = 100;     /* revolution */
    xa[9] = 7000.0;  /* ECI position, km */
    xa[13] = 7.5;    /* ECI velocity, km/s */
    xa[38] = 26000.0;
    QelArrayToQelLines(xa, xs, lines);
    CHECK(memcmp(lines, "<> SP VECTOR/COVARIANCE MESSAGE - V2.0", 38) == 0 && lines[3999] == ' ');
    QelArrayToQel1Line(xa, xs, one);
    CHECK(memcmp(one, "12345", 5) == 0 && one[1499] == ' ');
    key = QelAddSatFrLines(lines);
    CHECK(key > 0);
    CHECK(QelGetCount() == 1);
    CHECK(QelGetSatKey(12345) == key);
    CHECK(QelGetSatKeyML(12345, &out) == key && out == key);
    memset(epoch20, ' ', 20);
    memcpy(epoch20, "2021067120000.000", 17); /* DS50 26000.5 */
    CHECK(QelFieldsToSatKey(12345, epoch20) == key);
    QelFieldsToSatKeyML(12345, epoch20, &out);
    CHECK(out == key);
    CHECK(QelMultiLineTo1Line(lines, one) == 0);
    CHECK(memcmp(one, "12345", 5) == 0);
    CHECK(Qel1LineToMultiLine(one, lines) == 0);
    CHECK(memcmp(lines + 240, "<> SATELLITE NUMBER: 12345", 26) == 0);
    CHECK(QelStringToArray(lines, xa2, xs2) == 0);
    CHECK(xa2[0] == 12345 && fabs(xa2[9] - 7000.0) < 1e-8);
    xa[0] = 23456;
    key2 = QelAddSatFrFields(xs, xa);
    CHECK(key2 > 0);
    QelAddSatFrFieldsML(xs, xa, &out);
    CHECK(out == 0); /* the same record again: a duplicate */
    QelAddSatFrLinesML(lines, &out);
    CHECK(out == 0);
    xa[23] = 0.25; /* ballistic coefficient */
    CHECK(QelUpdateSatFrFields(key2, xs, xa) == 0);
    CHECK(QelRetrieveAllData(key2, xs2, xa2) == 0);
    CHECK(xa2[0] == 23456 && xa2[23] == 0.25);
    CHECK(QelGetField(key, 1, value) == 0);
    CHECK(memcmp(value, "12345 ", 6) == 0 && value[511] == ' ');
    memset(value, ' ', 512);
    memcpy(value, "4321", 4);
    CHECK(QelSetField(key, 4, value) == 0);
    CHECK(QelGetLines(key, lines) == 0);
    CHECK(memcmp(lines + 5 * 80 + 64, " 4321", 5) == 0);
    {
      int32_t* i32 = (int32_t*)malloc(8 * sizeof(int32_t));
      double* d = (double*)malloc(20 * sizeof(double));
      double* pos = (double*)malloc(3 * sizeof(double));
      double* vel = (double*)malloc(3 * sizeof(double));
      char* des = (char*)malloc(8);
      char* ep = (char*)malloc(17);
      char* geo = (char*)malloc(6);
      char* drag = (char*)malloc(12);
      char* t3a = (char*)malloc(3);
      char* t3b = (char*)malloc(3);
      char* t3c = (char*)malloc(3);
      char* t3d = (char*)malloc(3);
      char* leap = (char*)malloc(17);
      char* im = (char*)malloc(6);
      char* part = (char*)malloc(8);
      char* sm = (char*)malloc(4);
      char* fs = (char*)malloc(3);
      char* sss = (char*)malloc(6);
      CHECK(QelGetAllFields(key, &i32[0], des, ep, &i32[1], pos, vel, geo, &i32[2], &i32[3], drag, t3a, t3b, t3c,
                            t3d, &d[0], &d[1], &d[2], &d[3], &i32[4], &i32[5], &d[4], &d[5], &d[6], &d[7], &d[8],
                            &d[9], &i32[6], leap, im, part, sm, fs, sss, &d[10], &d[11], &d[12]) == 0);
      CHECK(i32[0] == 12345 && i32[1] == 4321 && pos[0] == 7000.0 && vel[1] == 7.5);
      CHECK(memcmp(ep, "2021067120000.000", 17) == 0);
      free(i32), free(d), free(pos), free(vel), free(des), free(ep), free(geo), free(drag);
      free(t3a), free(t3b), free(t3c), free(t3d), free(leap), free(im), free(part), free(sm), free(fs), free(sss);
    }
    n = QelGetCount();
    CHECK(n == 2);
    keys = (int64_t*)malloc((size_t)n * sizeof(int64_t));
    QelGetLoaded(2, keys);
    CHECK(keys[0] == key && keys[1] == key2);
    CHECK(QelGetKeys(1, n, keys) == 2);
    CHECK(keys[0] == key2);
    free(keys);
    memset(name, ' ', 512);
    memcpy(name, "zk-c-host-qel.txt", 17);
    CHECK(QelSaveFile(name, 0) == 0);
    CHECK(QelRemoveSat(key) == 0);
    CHECK(QelRemoveSat(key) == 2);
    CHECK(QelRemoveAllSats() == 0);
    CHECK(QelGetCount() == 0);
    CHECK(QelLoadFile(name) == 0);
    CHECK(QelGetCount() == 2);
    CHECK(QelRemoveAllSats() == 0);
    remove("zk-c-host-qel.txt");
    free(xa), free(xa2), free(xs), free(xs2), free(lines), free(one), free(value), free(epoch20), free(name);
  }

  /* Null output pointers, a sample from every library: codes and log lines, never a crash. */
  {
    double pos[3] = {7000.0, 0.0, 0.0}, vel[3] = {0.0, 7.5, 0.0};
    char fileName[512];
    memset(fileName, ' ', sizeof fileName);
    CHECK(BasalonFormatF(1.0, 10, 2, NULL) != 0);
    CHECK(BasalonFileOpenMT(fileName, 1, NULL) != 0);
    ChronelGetTimeConsts(20000.0, NULL);
    PlanixGetGeoConst(NULL);
    CHECK(LinesetLoadFileCounts(NULL, NULL) != 0);
    CHECK(LinesetGetLines(1, NULL, NULL) != 0);
    CHECK(HarloLoadFile(NULL) != 0);
    CHECK(KinetraPropMse(1, 0.0, NULL, NULL, NULL) != 0);
    CHECK(RotRADec_DateToEqnx(106, 2, 20000.0, 1.0, 1.0, NULL, NULL) != 0);
    CHECK(JplCompSunMoonPos(20000.0, NULL, NULL) != 0);
    KepToPosVel(NULL, NULL, NULL);
    CovMtxUVWToECI(pos, vel, NULL, NULL);
    QelGetInfo(NULL);
    TarvexGetInfo(NULL);
    KymorGetInfo(NULL);
    BrevantaGetInfo(NULL);
    memset(msg, 0, 128);
    BasalonGetLastErrMsg(msg);
    CHECK(memcmp(msg, "BrevantaGetInfo: null argument", 30) == 0);
  }

  /* Kymor: the satellite number of a loaded TLE through its key; -1 for a key not loaded. */
  {
    char* l1 = (char*)malloc(130);
    char* l2 = (char*)malloc(130);
    int64_t key;
    memset(l1, ' ', 130);
    memset(l2, ' ', 130);
    memcpy(l1, "1 25544U 98067A   26078.12958500  .00009105  00000+0  17698-3 0  9991", 69);
    memcpy(l2, "2 25544  51.6344  25.6919 0006229 207.4819 152.5840 15.48370465557798", 69);
    key = LinesetAddSatFrLines(l1, l2);
    CHECK(key > 0);
    CHECK(SatNumOf(key) == 25544);
    CHECK(LinesetRemoveSat(key) == 0);
    CHECK(SatNumOf(key) == -1);
    CHECK(SatNumOf(-1) == -1);
    free(l1);
    free(l2);
  }

  free(msg);
  if (failures == 0) printf("C host: all checks passed\n");
  /* Brevanta: one TLE satellite prepared and asked for its state by DS50 UTC and by minutes since
     epoch, outputs malloc'd at exactly their documented lengths; then removed from every store. */
  {
    char* l1 = (char*)malloc(130);
    char* l2 = (char*)malloc(130);
    double* mse = (double*)malloc(sizeof(double));
    double* utc = (double*)malloc(sizeof(double));
    int32_t* rev = (int32_t*)malloc(sizeof(int32_t));
    double* pos = (double*)malloc(3 * sizeof(double));
    double* vel = (double*)malloc(3 * sizeof(double));
    double* llh = (double*)malloc(3 * sizeof(double));
    int64_t key;
    memset(l1, ' ', 130);
    memset(l2, ' ', 130);
    memcpy(l1, "1 25544U 98067A   26078.12958500  .00009105  00000+0  17698-3 0  9991", 69);
    memcpy(l2, "2 25544  51.6344  25.6919 0006229 207.4819 152.5840 15.48370465557798", 69);
    key = LinesetAddSatFrLines(l1, l2);
    CHECK(key > 0);
    CHECK(BrevantaInitSat(key) == 0);
    CHECK(BrevantaDs50UTC(key, 27837.5, mse, rev, pos, vel, llh) == 0);
    CHECK(*mse > 0.0 && pos[0] * pos[0] + pos[1] * pos[1] + pos[2] * pos[2] > 6500.0 * 6500.0);
    CHECK(llh[2] > 300.0 && llh[2] < 500.0);
    CHECK(BrevantaMse(key, *mse, utc, rev, pos, vel, llh) == 0);
    CHECK(*utc > 27837.49999 && *utc < 27837.50001);
    CHECK(BrevantaRemoveSatAll(key) == 0);
    CHECK(BrevantaRemoveSat(key) == 2);
    CHECK(BrevantaDs50UTC(key, 27837.5, mse, rev, pos, vel, llh) == 2 && pos[0] == 0.0 && *rev == 0);
    CHECK(BrevantaRemoveAllSats() == 0);
    BrevantaReset();
    free(l1), free(l2), free(mse), free(utc), free(rev), free(pos), free(vel), free(llh);
  }

  return failures == 0 ? 0 : 1;
}
