-- Kestavion database, schema version 2 (an older file is brought up to it by the
-- upgrade steps in schema.cpp).
-- Columns stand in the order positional inserts of older tools relied on.
-- Text columns are TEXT (article numbers, sizes, sale numbers keep leading zeros),
-- numbers NUMERIC, dates TEXT yyyy-MM-dd, flags INTEGER.
-- One text for both engines: names unquoted, the reserved word "User" double-quoted;
-- $AUTO_ID stands for the engine's never-reused auto-numbered key. The engine keeps
-- the schema version (1 for this text) itself.

CREATE TABLE Store (
  GUID TEXT PRIMARY KEY NOT NULL,
  ShopNo TEXT, TypeNo TEXT, Name TEXT, Brand TEXT, Size TEXT, Colour TEXT,
  Leather TEXT, Grade TEXT, ProductPlace TEXT, Quantity NUMERIC, Price NUMERIC,
  GoodsBlock TEXT, GoodsFloor TEXT
);
CREATE INDEX idx_store_shop_type ON Store(ShopNo, TypeNo);

CREATE TABLE StoreDetail (
  GUID TEXT PRIMARY KEY NOT NULL,
  ParentGUID TEXT, ShopNo TEXT, TypeNo TEXT, Name TEXT, Brand TEXT, Size TEXT,
  Colour TEXT, Leather TEXT, Grade TEXT, Price NUMERIC, Quantity NUMERIC,
  ProductPlace TEXT, Memo TEXT, DateTime TEXT
);
CREATE INDEX idx_storedetail_shop_date ON StoreDetail(ShopNo, DateTime);
CREATE INDEX idx_storedetail_parent ON StoreDetail(ParentGUID);

CREATE TABLE BuyPrice (
  ID $AUTO_ID,
  StoreGUID TEXT, Price NUMERIC, Quantity NUMERIC, sDate TEXT, ShopNo TEXT
);
CREATE INDEX idx_buyprice_store_date ON BuyPrice(StoreGUID, sDate, ID);

CREATE TABLE Sell (
  GUID TEXT PRIMARY KEY NOT NULL,
  StoreGUID TEXT, ShopNo TEXT, TypeNo TEXT, Name TEXT, Brand TEXT, Size TEXT,
  Colour TEXT, Leather TEXT, Grade TEXT, ProductPlace TEXT, Quantity NUMERIC,
  Price NUMERIC, Abate TEXT, Amount NUMERIC, BuyPrice NUMERIC, Seller TEXT,
  DateTime TEXT, SellNo TEXT, BuyPriceId TEXT, SellerName TEXT, State INTEGER,
  Money1 NUMERIC, Money2 NUMERIC
);
CREATE INDEX idx_sell_shop_date ON Sell(ShopNo, DateTime, State);
CREATE INDEX idx_sell_no ON Sell(SellNo);
CREATE INDEX idx_sell_store ON Sell(StoreGUID);
CREATE INDEX idx_sell_shop_type_date ON Sell(ShopNo, TypeNo, DateTime);

CREATE TABLE SellChange (
  GUID TEXT PRIMARY KEY NOT NULL,
  StoreGUID TEXT, ShopNo TEXT, TypeNo TEXT, Name TEXT, Brand TEXT, Size TEXT,
  Colour TEXT, Leather TEXT, Grade TEXT, ProductPlace TEXT, Quantity NUMERIC,
  Price NUMERIC, Abate TEXT, Amount NUMERIC, BuyPrice NUMERIC, Seller TEXT,
  Datetime TEXT, BuyPriceID NUMERIC, SellerName TEXT, AddAmount NUMERIC,
  SellGUID TEXT, SellNo TEXT, ChangeDate TEXT, State INTEGER, Resion TEXT
);
CREATE INDEX idx_sellchange_shop_date ON SellChange(ShopNo, ChangeDate, State);
CREATE INDEX idx_sellchange_sell ON SellChange(SellGUID);

CREATE TABLE BackStore (
  ID $AUTO_ID,
  GUID TEXT, ShopNo TEXT, TypeNo TEXT, Name TEXT, Brand TEXT, Size TEXT,
  Colour TEXT, Leather TEXT, Grade TEXT, ProductPlace TEXT, Quantity NUMERIC,
  BuyPrice NUMERIC, BackResion TEXT, Seller TEXT, SellName TEXT,
  IsBackFactory INTEGER, BackFactoryDate TEXT
);
CREATE INDEX idx_backstore_guid ON BackStore(GUID);
CREATE INDEX idx_backstore_shop ON BackStore(ShopNo, IsBackFactory);

CREATE TABLE FactoryBackTotal (
  DateTime TEXT, Seller TEXT, SellerNo TEXT, Quantity INTEGER, Amount NUMERIC, ShopNo TEXT
);
CREATE INDEX idx_factorybacktotal_shop_date ON FactoryBackTotal(ShopNo, DateTime);

CREATE TABLE OtherOut (
  GUID TEXT PRIMARY KEY NOT NULL,
  ShopNo TEXT, ShopName TEXT, Item TEXT, Amount NUMERIC, DateTime TEXT, Memo TEXT, OptName TEXT
);
CREATE INDEX idx_otherout_shop_date ON OtherOut(ShopNo, DateTime);

CREATE TABLE DayAmount (
  GUID TEXT PRIMARY KEY NOT NULL,
  SellQuantity INTEGER, SellAmount NUMERIC, BackQuantity INTEGER, BackAmount NUMERIC,
  ChangeQuantity INTEGER, ChangeAmount NUMERIC, ReciveAmount NUMERIC, Seller TEXT,
  DateTime TEXT, ShopNo TEXT, ShopName TEXT
);
CREATE INDEX idx_dayamount_shop_date ON DayAmount(ShopNo, DateTime, Seller);

CREATE TABLE DataDictionary (
  Item TEXT, Content TEXT
);
CREATE INDEX idx_datadictionary_item ON DataDictionary(Item);

CREATE TABLE Shop (
  GUID TEXT PRIMARY KEY NOT NULL,
  ShopName TEXT
);

CREATE TABLE "User" (
  GUID TEXT PRIMARY KEY NOT NULL,
  No TEXT, Name TEXT, pwd TEXT, RoleGUID TEXT, RoleName TEXT
);
CREATE INDEX idx_user_no ON "User"(No);

CREATE TABLE Role (
  GUID TEXT PRIMARY KEY NOT NULL,
  Name TEXT,
  AllList INTEGER, Data INTEGER, UserManage INTEGER, SellRole INTEGER, ChangeShop INTEGER,
  BuyIn INTEGER, Sell INTEGER, ClientChange INTEGER, ClientBack INTEGER, Question INTEGER,
  FactoryBack INTEGER, SellBlankOut INTEGER, ChangePrice INTEGER, OtherOut INTEGER,
  StoreQuery INTEGER, SellQuery INTEGER, SellGroup INTEGER, BuyDetail INTEGER,
  ClientChangeQuery INTEGER, FactoryBackQuery INTEGER, BlankOutQuery INTEGER,
  OtherOurQuery INTEGER, DayAmount INTEGER, TotalAmount INTEGER, Profit INTEGER, ReStart INTEGER
);

CREATE TABLE SellRole (
  ShopNo TEXT, SellOrder INTEGER, BackDays INTEGER, AbateCanNotBack INTEGER,
  SpecialCanNotBack INTEGER, ChangeDays INTEGER, AbateCanNotChange INTEGER,
  SpecialCanNotChange INTEGER, SameTypeChange INTEGER, DearGoodsChange INTEGER,
  ChangeOneTime INTEGER, ChangNotToBack INTEGER, IsPrint INTEGER, PrinterType INTEGER
);

CREATE TABLE FileSave (
  dirpath TEXT, Drive TEXT, Dir TEXT, FileName TEXT, IsSave INTEGER
);

