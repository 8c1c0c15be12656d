-- The local database of the sub-application WSCBS. The host creates
-- wscbs.db from this text (UTF-8, SQLite) when the file is missing; column
-- types are declared the way the Access original declares them.

-- IC card information: one row per tax IC card of the enterprise.
CREATE TABLE cs_ickxx (
    qysbh   Text(20) NOT NULL,           -- taxpayer identification number
    kpjh    Integer NOT NULL DEFAULT 0,  -- invoicing machine number, 0 = main machine
    icxlh   Integer,                     -- IC card serial number
    fjksm   Integer DEFAULT 0,           -- extension card mark
    kpjsl   Integer DEFAULT 1,           -- invoicing machines on the card
    cbzt    Text(2) DEFAULT '0',         -- report status: 0 not copied, 1 copied, 2 reported
    zhcbsj  Text(19),                    -- last tax copy, yyyy-mm-dd hh:mm:ss
    bz      Text(200),                   -- remark
    PRIMARY KEY (qysbh, kpjh)
);
CREATE INDEX ix_cs_ickxx_icxlh ON cs_ickxx (icxlh);

INSERT INTO cs_ickxx (qysbh, kpjh, icxlh, fjksm, kpjsl, cbzt, zhcbsj, bz)
VALUES ('330106999900017', 0, 1, 0, 2, '2', '2024-05-08 09:12:40', '主开票机');
INSERT INTO cs_ickxx (qysbh, kpjh, icxlh, fjksm, kpjsl, cbzt, zhcbsj, bz)
VALUES ('330106999900017', 1, 2, 1, 1, '1', '2024-05-08 09:30:05', '分开票机');

-- Tax copy and report log: one row per period and machine.
CREATE TABLE cs_cbjl (
    ssq     Text(6) NOT NULL,   -- tax period, yyyymm
    kpjh    Integer NOT NULL,   -- invoicing machine number
    cbsj    Text(19),           -- time of the tax copy
    bssj    Text(19),           -- time of the report
    fpfs    Integer DEFAULT 0,  -- invoices copied
    hjje    Numeric(18, 2),     -- total amount
    hjse    Numeric(18, 2),     -- total tax
    PRIMARY KEY (ssq, kpjh)
);

INSERT INTO cs_cbjl VALUES ('202403', 0, '2024-04-09 10:02:11', '2024-04-10 14:20:35', 86, 412560.00, 53632.80);
INSERT INTO cs_cbjl VALUES ('202404', 0, '2024-05-08 09:12:40', '2024-05-09 11:05:02', 91, 438770.50, 57040.17);
INSERT INTO cs_cbjl VALUES ('202404', 1, '2024-05-08 09:30:05', NULL, 12, 36400.00, 4732.00);
