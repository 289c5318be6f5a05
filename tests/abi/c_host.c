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

  /* The Tarvexon exports, every buffer malloc'd at exactly its documented length. */
  {
    double* pos = (double*)malloc(3 * sizeof(double));
    double* vel = (double*)malloc(3 * sizeof(double));
    double* cov21 = (double*)malloc(21 * sizeof(double));
    double* cov36 = (double*)malloc(36 * sizeof(double));
    double* xten = (double*)malloc(128 * sizeof(double));
    char* value = (char*)malloc(512);
    char* line = (char*)malloc(512);
    char* file = (char*)malloc(512);
    char* label = (char*)malloc(128);
    char* satName = (char*)malloc(8);
    char* epoch20 = (char*)malloc(20);
    int64_t* keys = (int64_t*)malloc(2 * sizeof(int64_t));
    double t, mse, start, end, epoch, radius, ke;
    int32_t k, rev, n, satNum, coordSys;
    int64_t key, key2;
    key = TarvexAddSat(34567, 26000.5, 6378.135, 0.07436691613317341, 2);
    CHECK(key > 0);
    for (k = 0; k < 21; ++k) cov21[k] = k == 0 || k == 2 || k == 5 ? 4.0 : 0.0;
    for (k = 0; k < 6; ++k) { /* straight-line motion at 7 km/s, a point a minute */
      pos[0] = 7000.0 + 420.0 * k, pos[1] = 0.0, pos[2] = 0.0;
      vel[0] = 7.0, vel[1] = 0.0, vel[2] = 0.0;
      if (k < 2)
        CHECK(TarvexAddSatEphem(key, 26000.5 + k / 1440.0, pos, vel, 10 + k) == 0);
      else if (k < 4)
        CHECK(TarvexAddSatEphemCovMtx(key, 26000.5 + k / 1440.0, pos, vel, 10 + k, cov21) == 0);
      else
        CHECK(TarvexAddSatEphemExt(key, 26000.5 + k / 1440.0, pos, vel, 10 + k, cov21) == 0);
    }
    CHECK(TarvexGetNumPts(key, &n) == 0 && n == 6);
    CHECK(TarvexStartEndTime(key, &start, &end) == 0 && start == 26000.5);
    CHECK(TarvexGetCount() == 1);
    CHECK(TarvexGetSatKey(34567) == key);
    memset(epoch20, ' ', 20);
    memcpy(epoch20, "21067120000.000", 15);
    CHECK(TarvexFieldsToSatKey(34567, epoch20) == key);
    CHECK(TarvexGetLine(key, line) == 0);
    CHECK(memcmp(line, "EPHFIL = ", 9) == 0 && line[511] == ' ');
    CHECK(TarvexDs50UTC(key, 26000.5 + 2.5 / 1440.0, &mse, pos, vel, &rev) == 0);
    CHECK(fabs(mse - 2.5) < 1e-6 && fabs(pos[0] - 8050.0) < 1e-4); /* DS50 times carry 0.3 us */
    CHECK(TarvexMse(key, 3.0, &t, pos, vel, &rev) == 0);
    CHECK(rev == 13 && pos[0] == 8260.0);
    CHECK(TarvexGetEphemeris(key, 6, &t, pos, vel, &rev) == 0);
    CHECK(rev == 15 && pos[0] == 9100.0);
    CHECK(TarvexDs50UTCCovMtx(key, 26000.5 + 3.0 / 1440.0, &mse, pos, vel, &rev, cov36) == 0);
    CHECK(cov36[0] == 4.0 && cov36[7] == 4.0 && cov36[14] == 4.0 && cov36[35] == 0.0);
    CHECK(TarvexMseCovMtx(key, 4.0, &t, pos, vel, &rev, cov36) == 0);
    CHECK(cov36[0] == 4.0);
    CHECK(TarvexGetCovMtx(key, 1, &t, pos, vel, &rev, cov36) == 0);
    CHECK(cov36[0] == 0.0 && t == 26000.5);
    CHECK(TarvexXten(key, 3, 4.0, xten) == 0);
    CHECK(fabs(xten[0] - 3.0) < 1e-6 && xten[8] == 13.0 && xten[9] == 4.0 && xten[127] == 0.0);
    memset(value, ' ', 512);
    memcpy(value, "SAT-A", 5);
    CHECK(TarvexSetField(key, 14, value) == 0);
    CHECK(TarvexGetField(key, 14, value) == 0);
    CHECK(memcmp(value, "SAT-A   ", 8) == 0 && value[511] == ' ');
    CHECK(TarvexGetAllFields(key, &satNum, satName, label, &epoch, &radius, &ke, pos, vel, &coordSys, &n, file) == 0);
    CHECK(satNum == 34567 && memcmp(satName, "SAT-A   ", 8) == 0 && label[127] == ' ' && file[511] == ' ');
    CHECK(epoch == 26000.5 && coordSys == 2 && n == 6 && pos[0] == 7000.0);
    key2 = TarvexAddSat(34568, 26001.5, 6378.135, 0.07436691613317341, 1);
    CHECK(key2 > 0);
    TarvexGetLoaded(0, keys);
    CHECK(keys[0] == key && keys[1] == key2);
    CHECK(TarvexGetKeys(1, 1, keys) == 1 && keys[0] == key); /* the first key, alone */
    CHECK(TarvexRemoveSat(key2) == 0);
    CHECK(TarvexRemoveSat(key2) == 2);
    /* Records made in memory name no file: the saved card file loads nothing back. */
    memset(file, ' ', 512);
    memcpy(file, "zk-c-host-tarvex.txt", 20);
    CHECK(TarvexSaveFile(file, 0) == 0);
    CHECK(TarvexRemoveAllSats() == 0);
    CHECK(TarvexLoadFile(file) == 0);
    CHECK(TarvexGetCount() == 0);
    CHECK(TarvexAddSatFrFile(file) == -1);
    remove("zk-c-host-tarvex.txt");
    free(pos), free(vel), free(cov21), free(cov36), free(xten), free(value), free(line), free(file);
    free(label), free(satName), free(epoch20), free(keys);
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

  /* Kymor GEO: the parameters of a geosynchronous TLE, the sub-point and the GEO test. */
  {
    char* l1 = (char*)malloc(130);
    char* l2 = (char*)malloc(130);
    double* parms = (double*)malloc(32 * sizeof(double));
    double lon;
    int64_t key;
    memset(l1, ' ', 130);
    memset(l2, ' ', 130);
    memcpy(l1, "1 26766U 01019A   26078.00512954  .00000047  00000+0  00000+0 0  9996", 69);
    memcpy(l2, "2 26766   8.8597  60.1630 0005480 274.3366 282.3178  0.99036567 44688", 69);
    key = LinesetAddSatFrLines(l1, l2);
    CHECK(key > 0);
    CHECK(GetSatParameters(key, parms) == 0);
    CHECK(parms[22] == 1.0 && parms[24] == 26766.0 && parms[25] == 2.0);
    CHECK(parms[16] >= 0.0 && parms[16] < 360.0);
    CHECK(parms[17] < 0.0); /* a period longer than the sidereal day drifts west */
    lon = CompLonEastSubPt(parms[0], parms[2], parms[3], parms[1]);
    CHECK(lon == parms[16]);
    CHECK(IsGeoOrbit(parms[6], parms[4]) == 0 && IsGeoOrbit(14.9, 1439.9) == 1);
    CHECK(LinesetRemoveSat(key) == 0);
    CHECK(GetSatParameters(key, parms) == 2);
    free(l1);
    free(l2);
    free(parms);
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
